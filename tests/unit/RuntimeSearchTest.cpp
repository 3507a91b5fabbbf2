// The runtime sources against real folders and real registry keys.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "runtime/LibraryImage.h"
#include "runtime/RuntimeSelection.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RuntimeSearch : public ::testing::Test {
protected:
    // A runtime folder below the test's temp folder with the named libraries; returns its home with a backslash.
    std::wstring runtime(const std::wstring& name, std::initializer_list<const wchar_t*> types) {
        for (const wchar_t* type : types)
            installJvmLibrary(temp / name, type);
        return temp / name + L"\\";
    }

    TempFolder temp;
};

TEST_F(RuntimeSearch, The32BitImageTestReadsTheWholeFileAndNoMore) {
    // The view covers the file and no more: cut right after the machine field it is still an x86 image.
    std::string x86 = readBytes(x86FixtureLibraryPath());
    uint32_t ntOffset = 0;
    std::memcpy(&ntOffset, &x86.at(0x3C), sizeof ntOffset);
    for (size_t cut : {size_t(0), size_t(ntOffset + 5), size_t(ntOffset + 6), x86.size()}) {
        writeBytes(temp / L"cut.dll", x86.substr(0, cut));
        EXPECT_EQ(isX86Library(temp / L"cut.dll"), cut >= ntOffset + 6) << cut;
    }
    EXPECT_FALSE(isX86Library(x64FixtureLibraryPath()));
    EXPECT_FALSE(isX86Library(temp / L"missing.dll"));
}

TEST_F(RuntimeSearch, ARelativeHomeIsMadeFullBeforeItIsProbed) {
    runtime(L"relative", {L"client"});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    std::wstring found = findJvmLibrary(L"relative\\", JvmType::Default);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(found, temp / L"relative\\bin\\client\\jvm.dll") << "what is probed is what is loaded";
}

// Cases whose result depends on the registry; they cannot run beside runtimes the machine has registered.
class RegistryRuntimes : public RuntimeSearch {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }

    // "version home [server] [favoured]" for each candidate under one vendor key, the home below the temp folder.
    std::vector<std::wstring> found(const RuntimePolicy& policy, size_t key) {
        std::vector<JreCandidate> candidates;
        collectRegistryCandidates(policy, vendorKeys().at(key), RegistryView::Native, candidates);
        std::vector<std::wstring> descriptions;
        for (const JreCandidate& c : candidates)
            descriptions.push_back(format(c.version) + L" " + c.home.substr(temp.path().size() + 1) +
                                   (c.isServer ? L" server" : L"") + (c.isFavored ? L" favoured" : L""));
        return descriptions;
    }

    RegistryFixture registry;
    const std::wstring sunJdk = vendorKeys()[0].path, sunJre = vendorKeys()[1].path;
};

TEST_F(RegistryRuntimes, EverySubkeyWithAHomeAndALibraryWithinTheBounds) {
    std::wstring jre = runtime(L"jre", {L"client", L"server"});
    for (const wchar_t* name : {L"1.8", L"1.8.0_251", L"1.5"})
        ASSERT_TRUE(registry.add(sunJre, name, jre));
    ASSERT_TRUE(registry.add(sunJre, L"1.9", nullptr));
    ASSERT_TRUE(registry.add(sunJre, L"1.10", L""));
    ASSERT_TRUE(registry.add(sunJre, L"1.11", temp / L"missing"));
    // An expandable string is expanded; a value that is not a string is no home.
    ScopedEnvironment base(L"KORU_TEST_JAVA_BASE", temp.path());
    ASSERT_TRUE(
        registry.add(sunJre, L"1.7", L"%KORU_TEST_JAVA_BASE%\\jre", RegistryFixture::nativeView, REG_EXPAND_SZ));
    ASSERT_TRUE(registry.add(sunJre, L"1.7.0_1", jre, RegistryFixture::nativeView, REG_BINARY));
    runtime(L"jdk", {L"client"}); // beside jre\, where it does not count
    ASSERT_TRUE(registry.add(sunJdk, L"1.7", temp / L"jdk"));
    RuntimePolicy policy;
    policy.minVersion = minVersionFromSetting(L"1.6");
    policy.jvmType = JvmType::FavorServer;
    EXPECT_TRUE(found(policy, 0).empty());
    EXPECT_EQ(found(policy, 1),
              (std::vector<std::wstring>{L"1.7 jre\\ favoured", L"1.8 jre\\ favoured", L"1.8.0.251 jre\\ favoured"}));
    runtime(L"jdk\\jre", {L"server"});
    EXPECT_EQ(found(policy, 0), std::vector<std::wstring>{L"1.7 jdk\\jre\\ server favoured"});

    JreCandidate chosen;
    ASSERT_TRUE(searchRegistry(policy, RegistryView::Native, chosen));
    EXPECT_EQ(chosen.home, temp / L"jdk\\jre\\") << "favor_server puts the server library first";
    applyJvmSource(policy, L"only_JRE");
    ASSERT_TRUE(searchRegistry(policy, RegistryView::Native, chosen));
    EXPECT_EQ(chosen.home, jre) << "a key the settings rule out is not searched";
    EXPECT_FALSE(searchRegistry(policy, RegistryView::Wow32, chosen));
}

// The 32-bit view is searched only for a companion, and only when the native view has no candidate; "JRE Path"
// comes before both unless it lacks the library.
TEST_F(RegistryRuntimes, TheSourcesInTheirOrder) {
    ASSERT_TRUE(registry.add(sunJre, L"1.9", runtime(L"jre32", {L"client", L"server"}), RegistryFixture::wow32View));
    RuntimePolicy policy;
    RuntimeChoice choice;
    EXPECT_FALSE(resolveRuntime(policy, L"", nullptr, choice));
    std::wstring jre64 = runtime(L"jre64", {L"client", L"server"});
    ASSERT_TRUE(registry.add(sunJre, L"1.6", jre64));
    policy.jrePath = runtime(L"client-only", {L"client"});
    ASSERT_TRUE(resolveRuntime(policy, L"C:\\companion.exe", nullptr, choice));
    EXPECT_EQ(choice.jvmPath, policy.jrePath + L"bin\\client\\jvm.dll");
    policy.jvmType = JvmType::Server;
    ASSERT_TRUE(resolveRuntime(policy, L"C:\\companion.exe", nullptr, choice));
    EXPECT_EQ(choice.jvmPath, jre64 + L"bin\\server\\jvm.dll");
    EXPECT_EQ(format(choice.chosenVersion), L"1.6");
    EXPECT_FALSE(choice.handOff);
}

// With nothing found the user is asked; a pick is used (and tested for a 32-bit image when there is a companion),
// a refusal ends the start.
TEST_F(RegistryRuntimes, NothingFoundAsksTheUser) {
    RuntimePolicy policy;
    policy.jvmType = JvmType::Server;
    std::vector<std::wstring> asked;
    RuntimePick answer;
    RuntimeQuestion askUser = [&](const std::wstring& message, RuntimePick& pick) {
        asked.push_back(message);
        pick = answer;
        return !answer.jvmPath.empty();
    };
    RuntimeChoice choice;
    EXPECT_FALSE(resolveRuntime(policy, L"", askUser, choice));
    EXPECT_EQ(asked, std::vector<std::wstring>{L"The Java Runtime Environment (JRE) was not found. Please  download "
                                               L"and install a JRE with a server JVM (latest version) from:"});
    answer = {temp / L"picked\\", installJvmLibrary(temp / L"picked", L"server", x86FixtureLibraryPath())};
    for (const wchar_t* companion : {L"", L"C:\\companion.exe"}) {
        RuntimeChoice picked;
        ASSERT_TRUE(resolveRuntime(policy, companion, askUser, picked));
        EXPECT_EQ(picked.jvmPath, answer.jvmPath);
        EXPECT_EQ(picked.pickedHome, answer.home) << "to be remembered";
        EXPECT_EQ(picked.handOff, *companion != L'\0') << "a 32-bit pick goes to the companion";
    }
}

} // namespace
