// The runtime sources against real folders and real registry keys in both views.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "runtime/RuntimeSelection.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const sunJdk = L"Software\\JavaSoft\\Java Development Kit\\";
const wchar_t* const sunJre = L"Software\\JavaSoft\\Java Runtime Environment\\";
const wchar_t* const jrockitJre = L"Software\\JRockit\\Java Runtime Environment\\";
const wchar_t* const jrockitJdk = L"Software\\JRockit\\Java Development Kit\\";
const wchar_t* const ibmJre = L"Software\\IBM\\Java2 Runtime Environment\\";

const VendorKey& keyAt(size_t index) { return vendorKeys().at(index); }

class RuntimeSearch : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }

    // A runtime folder below the test's temp folder with the named libraries; returns its home with a backslash.
    std::wstring runtime(const std::wstring& name, std::initializer_list<const wchar_t*> types) {
        std::wstring home = temp / name;
        for (const wchar_t* type : types)
            installJvmLibrary(home, type);
        createFolders(home);
        return home + L"\\";
    }

    std::vector<JreCandidate> collect(const RuntimePolicy& policy, size_t keyIndex,
                                      RegistryView view = RegistryView::Native) {
        std::vector<JreCandidate> candidates;
        collectRegistryCandidates(policy, keyAt(keyIndex), view, candidates);
        return candidates;
    }

    std::wstring chosenHome(const RuntimePolicy& policy, RegistryView view = RegistryView::Native) {
        JreCandidate chosen;
        return searchRegistry(policy, view, chosen) ? chosen.home : L"(none)";
    }

    TempFolder temp;
    RegistryFixture registry;
};

TEST_F(RuntimeSearch, FindJvmLibraryProbesByType) {
    std::wstring both = runtime(L"both", {L"client", L"server"});
    bool isServer = true;
    EXPECT_EQ(findJvmLibrary(both, JvmType::Default, isServer), both + L"bin\\client\\jvm.dll");
    EXPECT_FALSE(isServer);
    EXPECT_EQ(findJvmLibrary(both, JvmType::FavorServer, isServer), both + L"bin\\server\\jvm.dll");
    EXPECT_TRUE(isServer);

    std::wstring client = runtime(L"client", {L"client"});
    isServer = true;
    EXPECT_EQ(findJvmLibrary(client, JvmType::Server, isServer), L"");
    EXPECT_TRUE(isServer) << "left as the caller set it";
    EXPECT_EQ(findJvmLibrary(client, JvmType::FavorServer, isServer), client + L"bin\\client\\jvm.dll");
    EXPECT_FALSE(isServer);

    std::wstring jrockit = runtime(L"jrockit", {L"jrockit"});
    EXPECT_EQ(findJvmLibrary(jrockit, JvmType::Default), jrockit + L"bin\\jrockit\\jvm.dll");
}

TEST_F(RuntimeSearch, AnEmptyHomeNeverProbesTheCurrentFolderAndARelativeOneIsMadeFull) {
    runtime(L"planted", {L"client"});
    runtime(L"planted\\relative", {L"client"});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW((temp / L"planted").c_str()));
    std::wstring empty = findJvmLibrary(L"", JvmType::Default);
    std::wstring relative = findJvmLibrary(L"relative\\", JvmType::Default);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(empty, L"");
    EXPECT_EQ(relative, temp / L"planted\\relative\\bin\\client\\jvm.dll") << "what is probed is what is loaded";
}

TEST_F(RuntimeSearch, RuntimeFolderNeedsJavaDll) {
    std::wstring home = runtime(L"rt", {L"client"});
    EXPECT_FALSE(isRuntimeFolder(home));
    markRuntimeFolder(temp / L"rt");
    EXPECT_TRUE(isRuntimeFolder(home));
}

TEST_F(RuntimeSearch, JdkKeysUseTheirJreFolder) {
    RuntimePolicy policy;
    std::wstring jdk = temp / L"jdk";
    ASSERT_TRUE(registry.add(sunJdk, L"1.8.0_251", jdk));
    installJvmLibrary(jdk, L"client"); // beside jre\, where it does not count
    EXPECT_TRUE(collect(policy, 0).empty());

    installJvmLibrary(jdk + L"\\jre", L"server");
    std::vector<JreCandidate> found = collect(policy, 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].home, jdk + L"\\jre\\");
    EXPECT_TRUE(found[0].isServer);
    EXPECT_TRUE(found[0].isFavored);
    EXPECT_EQ(format(found[0].version), L"1.8.0.251");
}

TEST_F(RuntimeSearch, EverySubkeyIsItsOwnCandidateAndBadOnesAreSkipped) {
    RuntimePolicy policy;
    std::wstring home = runtime(L"jre", {L"client"});
    ASSERT_TRUE(registry.add(sunJre, L"1.8", home));
    ASSERT_TRUE(registry.add(sunJre, L"1.8.0_251", home));
    ASSERT_TRUE(registry.add(sunJre, L"1.9", nullptr));            // no JavaHome
    ASSERT_TRUE(registry.add(sunJre, L"1.10", L""));               // empty JavaHome
    ASSERT_TRUE(registry.add(sunJre, L"1.11", temp / L"missing")); // no library
    std::vector<JreCandidate> found = collect(policy, 1);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(format(found[0].version), L"1.8");
    EXPECT_EQ(format(found[1].version), L"1.8.0.251");
    EXPECT_EQ(found[0].home, home);
}

TEST_F(RuntimeSearch, JavaHomeMustBeAStringAndAnExpandableOneIsExpanded) {
    ScopedEnvironment base(L"KORU_TEST_JAVA_BASE", temp.path());
    std::wstring home = runtime(L"jre", {L"client"});
    auto setJavaHome = [this](const wchar_t* name, DWORD type, const std::wstring& text) {
        HKEY key = nullptr;
        bool set = registry.add(sunJre, name, nullptr) &&
                   RegOpenKeyExW(HKEY_LOCAL_MACHINE, (sunJre + std::wstring(name)).c_str(), 0, KEY_SET_VALUE, &key) ==
                       ERROR_SUCCESS &&
                   RegSetValueExW(key, L"JavaHome", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
        return set;
    };
    ASSERT_TRUE(setJavaHome(L"1.7", REG_EXPAND_SZ, L"%KORU_TEST_JAVA_BASE%\\jre"));
    ASSERT_TRUE(setJavaHome(L"1.8", REG_BINARY, home));
    ASSERT_TRUE(setJavaHome(L"1.9", REG_MULTI_SZ, home + L'\0'));
    std::vector<JreCandidate> found = collect(RuntimePolicy(), 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(format(found[0].version), L"1.7");
    EXPECT_EQ(found[0].home, home);
}

TEST_F(RuntimeSearch, ServerTypeRejectsClientOnlyRuntimes) {
    RuntimePolicy policy;
    policy.jvmType = JvmType::Server;
    ASSERT_TRUE(registry.add(sunJre, L"1.8", runtime(L"client", {L"client"})));
    EXPECT_TRUE(collect(policy, 1).empty());
    EXPECT_EQ(chosenHome(policy), L"(none)");
}

TEST_F(RuntimeSearch, SunJreKeyIsProbedWithDefaultUnderFavorServer) {
    RuntimePolicy policy;
    policy.jvmType = JvmType::FavorServer;
    std::wstring jre = runtime(L"shared\\jre", {L"client", L"server"});
    ASSERT_TRUE(registry.add(sunJre, L"1.8", jre));
    ASSERT_TRUE(registry.add(sunJdk, L"1.8", temp / L"shared"));
    ASSERT_TRUE(registry.add(jrockitJre, L"1.8", jre));
    policy.acceptJRockit = true;
    std::vector<JreCandidate> jreFound = collect(policy, 1);
    std::vector<JreCandidate> jdkFound = collect(policy, 0);
    std::vector<JreCandidate> jrockitFound = collect(policy, 2);
    ASSERT_EQ(jreFound.size(), 1u);
    ASSERT_EQ(jdkFound.size(), 1u);
    ASSERT_EQ(jrockitFound.size(), 1u);
    EXPECT_FALSE(jreFound[0].isServer);
    EXPECT_TRUE(jdkFound[0].isServer);
    EXPECT_TRUE(jrockitFound[0].isServer);
}

TEST_F(RuntimeSearch, VersionBoundsFilterSubkeys) {
    RuntimePolicy policy;
    std::wstring home = runtime(L"jre", {L"client"});
    for (const wchar_t* name : {L"1.6.0_18", L"1.6.0_20", L"1.7.0_80", L"1.8", L"jre-no-digits"})
        ASSERT_TRUE(registry.add(sunJre, name, home));
    EXPECT_EQ(collect(policy, 1).size(), 5u);

    policy.maxVersion = maxVersionFromSetting(L"1.7");
    policy.minVersion = minVersionFromSetting(L"1.6.0_20");
    std::vector<JreCandidate> found = collect(policy, 1);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(format(found[0].version), L"1.6.0.20");
    EXPECT_EQ(format(found[1].version), L"1.7.0.80");

    policy.maxVersion = maxVersionFromSetting(L"any");
    policy.minVersion = minVersionFromSetting(L"");
    EXPECT_EQ(collect(policy, 1).size(), 5u);
}

TEST_F(RuntimeSearch, DefaultsTakeTheHighestAndPreferTheJdkOnATie) {
    RuntimePolicy policy;
    ASSERT_TRUE(registry.add(sunJre, L"1.8.0_251", runtime(L"jre8", {L"client"})));
    runtime(L"jdk8\\jre", {L"client"});
    ASSERT_TRUE(registry.add(sunJdk, L"1.8.0_251", temp / L"jdk8"));
    ASSERT_TRUE(registry.add(sunJre, L"1.7.0_80", runtime(L"jre7", {L"client"})));
    EXPECT_EQ(chosenHome(policy), temp / L"jdk8\\jre\\");
}

TEST_F(RuntimeSearch, JvmSourceDecidesKindAndFavour) {
    runtime(L"jdk\\jre", {L"client"});
    ASSERT_TRUE(registry.add(sunJdk, L"1.8.0_251", temp / L"jdk"));
    std::wstring jre = runtime(L"jre", {L"client"});
    ASSERT_TRUE(registry.add(sunJre, L"1.7.0_80", jre));

    RuntimePolicy favorJre;
    applyJvmSource(favorJre, L"favor_JRE");
    EXPECT_EQ(chosenHome(favorJre), jre);
    EXPECT_EQ(collect(favorJre, 0).size(), 1u) << "favor_JRE still searches the JDK key";

    RuntimePolicy onlyJdk;
    applyJvmSource(onlyJdk, L"only_JDK");
    EXPECT_EQ(chosenHome(onlyJdk), temp / L"jdk\\jre\\");
    RuntimePolicy onlyJre;
    applyJvmSource(onlyJre, L"only_JRE");
    EXPECT_EQ(chosenHome(onlyJre), jre);

    for (const wchar_t* misspelt : {L"favor_jre", L"onlyJRE", L"JDK"}) {
        RuntimePolicy policy;
        applyJvmSource(policy, misspelt);
        EXPECT_EQ(chosenHome(policy), L"(none)") << misspelt;
    }
}

TEST_F(RuntimeSearch, FavorServerPutsTheServerLibraryBeforeAHigherVersion) {
    RuntimePolicy policy;
    policy.jvmType = JvmType::FavorServer;
    runtime(L"jdk7\\jre", {L"server"});
    ASSERT_TRUE(registry.add(sunJdk, L"1.7", temp / L"jdk7"));
    ASSERT_TRUE(registry.add(sunJre, L"1.8", runtime(L"jre8", {L"client", L"server"})));
    EXPECT_EQ(chosenHome(policy), temp / L"jdk7\\jre\\");
    policy.jvmType = JvmType::Default;
    EXPECT_EQ(chosenHome(policy), temp / L"jre8\\");
}

TEST_F(RuntimeSearch, VmProviderChoosesVendorsAndTheFoundOrderBreaksTies) {
    const wchar_t* const keys[] = {sunJdk, sunJre, jrockitJre, jrockitJdk, ibmJre};
    const wchar_t* const names[] = {L"sunjdk", L"sunjre", L"jrockitjre", L"jrockitjdk", L"ibmjre"};
    for (int i = 4; i >= 0; --i) {
        runtime(std::wstring(names[i]) + L"\\jre", {L"client"});
        runtime(names[i], {L"client"});
        ASSERT_TRUE(registry.add(keys[i], L"1.8", temp / names[i]));
    }
    RuntimePolicy any;
    applyVmProvider(any, L"ANY");
    EXPECT_EQ(chosenHome(any), temp / L"sunjdk\\jre\\");
    RuntimePolicy ibm;
    applyVmProvider(ibm, L"Ibm");
    EXPECT_EQ(chosenHome(ibm), temp / L"ibmjre\\");
    RuntimePolicy jrockit;
    applyVmProvider(jrockit, L"jrockit");
    EXPECT_EQ(chosenHome(jrockit), temp / L"jrockitjre\\");
    RuntimePolicy favorIbm;
    applyVmProvider(favorIbm, L"favor_IBM");
    EXPECT_EQ(chosenHome(favorIbm), temp / L"ibmjre\\");
    RuntimePolicy misspelt;
    applyVmProvider(misspelt, L"ibm ");
    EXPECT_EQ(chosenHome(misspelt), temp / L"sunjdk\\jre\\") << "an unknown value keeps the Sun defaults";

    // Without any favoured vendor the found order decides among equal versions.
    std::vector<JreCandidate> all;
    for (const VendorKey& key : vendorKeys())
        collectRegistryCandidates(any, key, RegistryView::Native, all);
    orderCandidates(any, all);
    ASSERT_EQ(all.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(all[i].home.find(temp / names[i]), 0u) << i;
}

TEST_F(RuntimeSearch, PreferredVersionsComeFirst) {
    RuntimePolicy policy;
    for (const wchar_t* name : {L"1.8.0_251", L"1.7.0_80", L"1.7.0_45"})
        ASSERT_TRUE(registry.add(sunJre, name, runtime(name, {L"client"})));
    policy.preferredVersions = {L"1.7", L"1.8"};
    EXPECT_EQ(chosenHome(policy), temp / L"1.7.0_80\\");
    policy.preferredVersions = {L"1.9", L"1.8"};
    EXPECT_EQ(chosenHome(policy), temp / L"1.8.0_251\\");
}

TEST_F(RuntimeSearch, ViewsAreSeparate) {
    RuntimePolicy policy;
    ASSERT_TRUE(registry.add(sunJre, L"1.8", runtime(L"jre32", {L"client"}), RegistryFixture::wow32View));
    EXPECT_EQ(chosenHome(policy, RegistryView::Native), L"(none)");
    EXPECT_EQ(chosenHome(policy, RegistryView::Wow32), temp / L"jre32\\");
}

class RuntimeResolution : public RuntimeSearch {
protected:
    // What a launcher hands the search: its policy and its companion.
    struct Start {
        RuntimePolicy policy;
        std::wstring pairProduct;
        RuntimeChoice runtime;
    };
    static bool resolve(Start& start) { return resolveRuntime(start.policy, start.pairProduct, start.runtime); }
    Start launcher;
};

TEST_F(RuntimeResolution, ThirtyTwoBitViewOnlyWithACompanionAndNoNativeCandidate) {
    std::wstring jre32 = runtime(L"jre32", {L"client"});
    ASSERT_TRUE(registry.add(sunJre, L"1.9", jre32, RegistryFixture::wow32View));
    EXPECT_FALSE(resolve(launcher)) << "no companion: the 32-bit view is not searched";
    EXPECT_EQ(launcher.runtime.jvmPath, L"");

    launcher.pairProduct = L"C:\\companion.exe";
    ASSERT_TRUE(resolve(launcher));
    EXPECT_EQ(launcher.runtime.jvmPath, jre32 + L"bin\\client\\jvm.dll");
    EXPECT_TRUE(launcher.runtime.handOff);
    EXPECT_EQ(format(launcher.runtime.chosenVersion), L"1.9");

    Start second;
    second.pairProduct = L"C:\\companion.exe";
    std::wstring jre64 = runtime(L"jre64", {L"client"});
    ASSERT_TRUE(registry.add(sunJre, L"1.6", jre64));
    ASSERT_TRUE(resolve(second));
    EXPECT_EQ(second.runtime.jvmPath, jre64 + L"bin\\client\\jvm.dll")
        << "a native candidate hides a better 32-bit one";
    EXPECT_FALSE(second.runtime.handOff);
}

TEST_F(RuntimeResolution, JrePathComesFirstAndIsTestedForA32BitImage) {
    std::wstring home = temp / L"x86";
    std::wstring library = installJvmLibrary(home, L"client", x86FixtureLibraryPath());
    ASSERT_TRUE(registry.add(sunJre, L"1.8", runtime(L"registered", {L"client"})));
    launcher.policy.jrePath = home; // without the trailing backslash
    ASSERT_TRUE(resolve(launcher));
    EXPECT_EQ(launcher.runtime.jvmPath, library);
    EXPECT_FALSE(launcher.runtime.handOff) << "without a companion a 32-bit runtime is not recognised";

    launcher.pairProduct = L"C:\\companion.exe";
    ASSERT_TRUE(resolve(launcher));
    EXPECT_TRUE(launcher.runtime.handOff);
}

TEST_F(RuntimeResolution, JrePathWithoutTheLibraryPassesOn) {
    launcher.policy.jrePath = runtime(L"client-only", {L"client"});
    launcher.policy.jvmType = JvmType::Server;
    std::wstring registered = runtime(L"registered", {L"server"});
    ASSERT_TRUE(registry.add(sunJre, L"1.8", registered));
    ASSERT_TRUE(resolve(launcher));
    EXPECT_EQ(launcher.runtime.jvmPath, registered + L"bin\\server\\jvm.dll");
}

TEST_F(RuntimeResolution, NothingFoundEndsTheStart) {
    EXPECT_FALSE(resolve(launcher));
    EXPECT_EQ(launcher.runtime.jvmPath, L"");
    EXPECT_FALSE(launcher.runtime.handOff);
}

TEST(RuntimeNotFoundMessage, NamesTheServerJvmAndTheVersions) {
    RuntimePolicy policy;
    EXPECT_EQ(runtimeNotFoundMessage(policy), L"The Java Runtime Environment (JRE) was not found. Please  download "
                                              L"and install a JRE (latest version) from:");
    policy.jvmType = JvmType::Server;
    policy.minVersion = minVersionFromSetting(L"1.7");
    policy.maxVersion = maxVersionFromSetting(L"1.8");
    EXPECT_EQ(runtimeNotFoundMessage(policy),
              L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server "
              L"JVM (version between 1.7 and 1.8) from:");
}

class RuntimePublishing : public ::testing::Test {
protected:
    std::wstring variable(const wchar_t* name) {
        wchar_t buffer[1024];
        DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
        return std::wstring(buffer, length);
    }
    ScopedEnvironment path{L"KORU_JVM_PATH", L""};
    ScopedEnvironment home{L"KORU_JVM_HOME", L""};
};

TEST_F(RuntimePublishing, HomeIsThreeFoldersUpOrWhatIsLeft) {
    publishRuntime(L"C:\\Java\\jre\\bin\\server\\jvm.dll");
    EXPECT_EQ(variable(L"KORU_JVM_PATH"), L"C:\\Java\\jre\\bin\\server\\jvm.dll");
    EXPECT_EQ(variable(L"KORU_JVM_HOME"), L"C:\\Java\\jre");
    publishRuntime(L"bin\\server\\jvm.dll");
    EXPECT_EQ(variable(L"KORU_JVM_HOME"), L"bin");
    publishRuntime(L"server\\jvm.dll");
    EXPECT_EQ(variable(L"KORU_JVM_HOME"), L"server");
    publishRuntime(L"jvm.dll");
    EXPECT_EQ(variable(L"KORU_JVM_HOME"), L"jvm.dll");
}

} // namespace
