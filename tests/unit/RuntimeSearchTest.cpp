// The runtime sources against real folders and real registry keys: the old vendor keys, those of today's
// installers (both hives, both views), JAVA_HOME, and the order in which a start tries them.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RuntimeSelection.h"

#include <gtest/gtest.h>

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

TEST_F(RuntimeSearch, ARelativeHomeIsMadeFullBeforeItIsProbed) {
    runtime(L"relative", {L"client"});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    std::wstring found = findJvmLibrary(L"relative\\", JvmType::Default);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(found, temp / L"relative\\bin\\client\\jvm.dll") << "what is probed is what is loaded";
}

// Where the library lies: below the home (Java 9 and later; a JDK also has bin\javac.exe, a runtime of the companion's
// width an image of that width), below its jre\ folder (a Java 8 JDK), or nowhere.
enum class Layout { Modern, ModernJdk, CompanionWidth, Java8Jdk, NoLibrary, Missing };

// Cases whose result depends on the registry; they cannot run beside runtimes the machine has registered.
class RegistryRuntimes : public RuntimeSearch {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }

    // A runtime folder as an installer leaves it, with a release file when one is given: its whole text, or only
    // the version it names.
    std::wstring installed(const std::wstring& name, Layout layout, const std::string& release = "") {
        std::wstring home = temp / name;
        createFolders(home + L"\\bin");
        if (layout == Layout::Modern || layout == Layout::ModernJdk || layout == Layout::CompanionWidth)
            installJvmLibrary(home, L"server", layout == Layout::CompanionWidth ? companionWidthLibraryPath() : L"");
        if (layout == Layout::ModernJdk)
            writeBytes(home + L"\\bin\\javac.exe", "");
        if (layout == Layout::Java8Jdk)
            installJvmLibrary(home + L"\\jre", L"server");
        bool whole = release.find('=') != std::string::npos;
        if (!release.empty())
            writeBytes(home + L"\\release",
                       whole ? release : "IMPLEMENTOR=\"x\"\r\nJAVA_VERSION=\"" + release + "\"\r\n");
        return layout == Layout::Missing ? home + L"-gone" : home;
    }

    // "version kind vendor home" of the candidate the search chooses, the home below the temp folder; "none".
    std::wstring chosen(const RuntimePolicy& policy, RegistryView view = RegistryView::Native) {
        JreCandidate c;
        if (!searchRegistry(policy, view, c))
            return L"none";
        return format(c.version) + (c.kind == RuntimeKind::Jdk ? L" JDK " : L" JRE ") +
               (c.vendor == RuntimeVendor::Ibm ? L"IBM " : L"Sun ") + c.home.substr(temp.path().size() + 1);
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
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, sunJre + L"1.9", L"Other", jre)); // no "JavaHome"
    ASSERT_TRUE(registry.add(sunJre, L"1.10", L""));
    ASSERT_TRUE(registry.add(sunJre, L"1.11", temp / L"missing"));
    // An expandable string is expanded; a value that is not a string is no home.
    ScopedEnvironment base(L"KORU_TEST_JAVA_BASE", temp.path());
    ASSERT_TRUE(
        registry.add(sunJre, L"1.7", L"%KORU_TEST_JAVA_BASE%\\jre", RegistryFixture::nativeView, REG_EXPAND_SZ));
    ASSERT_TRUE(registry.add(sunJre, L"1.7.0_1", jre, RegistryFixture::nativeView, REG_BINARY));
    // Nor is a value larger than any path, whatever its first null leaves.
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, sunJre + L"1.6", L"JavaHome",
                                  jre + std::wstring(1, L'\0') + std::wstring(40000, L'x')));
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
    EXPECT_FALSE(searchRegistry(policy, RegistryView::Companion, chosen));
}

// Subkeys past the number read per key are not looked at, however many a key holds.
TEST_F(RegistryRuntimes, SubkeysPastTheLimitAreLeftAlone) {
    for (size_t i = 0; i < maxSubkeysRead; ++i)
        ASSERT_TRUE(registry.add(sunJre, L"0." + std::to_wstring(1000 + i), L""));
    ASSERT_TRUE(registry.add(sunJre, L"1.8", runtime(L"jre", {L"client"})));
    EXPECT_TRUE(found(RuntimePolicy(), 1).empty());
}

// The companion's view is searched only for a companion, and only when the native view has no candidate; "JRE Path"
// comes before both unless it lacks the library.
TEST_F(RegistryRuntimes, TheSourcesInTheirOrder) {
    ASSERT_TRUE(
        registry.add(sunJre, L"1.9", runtime(L"jre32", {L"client", L"server"}), RegistryFixture::companionView));
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

TEST_F(RegistryRuntimes, EachInstallerShapeGivesVersionKindAndVendor) {
    const wchar_t* const adoptium = L"Software\\Eclipse Adoptium\\";
    const char* const openJ9 = "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"11.0.14.1\"\nJVM_VARIANT=\"Openj9\"";
    // HKEY_CURRENT_USER (else HKEY_LOCAL_MACHINE); the key below the hive (or Eclipse Adoptium's key), whose value is
    // named as its installer names it; written and searched in the companion's view; the layout; the release file's
    // text or only its version, or ""; the candidate chosen
    const std::tuple<bool, const wchar_t*, bool, Layout, const char*, const wchar_t*> cases[] = {
        {false, L"Software\\JavaSoft\\JDK\\17.0.2", false, Layout::Modern, "", L"17.0.2 JDK Sun 0\\"},
        {false, L"Software\\JavaSoft\\JDK\\17", false, Layout::Modern, "17.0.2", L"17.0.2 JDK Sun 1\\"},
        {false, L"Software\\JavaSoft\\JRE\\10.0.1", false, Layout::ModernJdk, "IMPLEMENTOR=\"IBM Corporation\"",
         L"10.0.1 JRE IBM 2\\"},
        {false, L"JDK\\17.0.2.8\\hotspot\\MSI", false, Layout::Modern, "", L"17.0.2.8 JDK Sun 3\\"},
        {false, L"JRE\\11.0.14.9\\openj9\\MSI", false, Layout::Modern, "", L"11.0.14.9 JRE IBM 4\\"},
        {false, L"Software\\AdoptOpenJDK\\JDK\\8.0.292.10\\hotspot\\MSI", false, Layout::Java8Jdk, "",
         L"1.8.0.292 JDK Sun 5\\jre\\"},
        {false, L"Software\\Microsoft\\JDK\\17.0.2.8\\hotspot\\MSI", true, Layout::Modern, "", L"17.0.2.8 JDK Sun 6\\"},
        {true, L"Software\\Azul Systems\\Zulu\\zulu-17", false, Layout::ModernJdk, "17.0.2", L"17.0.2 JDK Sun 7\\"},
        {false, L"Software\\Azul Systems\\Zulu\\zulu-11", false, Layout::Modern, "11.0.14", L"11.0.14 JRE Sun 8\\"},
        {true, L"Software\\Azul Systems\\Zulu\\zulu-8", false, Layout::Java8Jdk, "1.8.0_322",
         L"1.8.0.322 JDK Sun 9\\jre\\"},
        {false, L"Software\\BellSoft\\Liberica\\jre-17", false, Layout::ModernJdk, "17.0.1", L"17.0.1 JRE Sun 10\\"},
        // HKEY_CURRENT_USER\Software is one key in both views: the library's image decides
        {true, L"Software\\JavaSoft\\JDK\\11", true, Layout::CompanionWidth, openJ9, L"11.0.14.1 JDK IBM 11\\"},
        {true, L"Software\\JavaSoft\\JDK\\11", false, Layout::CompanionWidth, openJ9, L"none"},
        // an uninstalled runtime and a home without a library
        {false, L"JRE\\17.0.2.8\\hotspot\\MSI", false, Layout::Missing, "", L"none"},
        {true, L"Software\\Microsoft\\JDK\\17.0.2.8\\hotspot\\MSI", false, Layout::NoLibrary, "", L"none"},
    };
    RuntimePolicy anyVendor;
    applyVmProvider(anyVendor, L"any");
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [user, below, companionView, layout, release, expected] = cases[i];
        std::wstring key = below[0] == L'S' ? below : adoptium + std::wstring(below);
        const wchar_t* value = key.find(L"JavaSoft") != std::wstring::npos ? L"JavaHome"
                               : key.find(L"MSI") != std::wstring::npos    ? L"Path"
                                                                           : L"InstallationPath";
        RegistryFixture fresh;
        ASSERT_TRUE(fresh.addValue(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key, value,
                                   installed(std::to_wstring(i), layout, release),
                                   companionView ? RegistryFixture::companionView : RegistryFixture::nativeView));
        EXPECT_EQ(chosen(anyVendor, companionView ? RegistryView::Companion : RegistryView::Native), expected) << key;
    }
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Azul Systems\\Zulu\\zulu-17", L"JavaHome",
                                  installed(L"wrong-value", Layout::Modern)));
    EXPECT_EQ(chosen(anyVendor), L"none") << "the installer's own value names the home";
}

// The old keys' runtimes and today's meet one policy: bounds, kinds, vendors, preferred versions, order.
TEST_F(RegistryRuntimes, OldAndNewKeysMeetOnePolicy) {
    ASSERT_TRUE(registry.add(sunJre, L"1.8.0_321", installed(L"jre8", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI",
                                  L"Path", installed(L"temurin17", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_CURRENT_USER, L"Software\\Eclipse Adoptium\\JRE\\21.0.1.12\\openj9\\MSI",
                                  L"Path", installed(L"openj9", Layout::Modern)));
    const std::array<const wchar_t*, 5> cases[] = {
        // Maximum Version, Preferred versions, JVM Source, VM Provider, chosen
        {L"1.8", L"", L"", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"", L"", L"17.0.2.8 JDK Sun temurin17\\"},
        {L"", L"1.8", L"", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"favor_JRE", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"", L"any", L"21.0.1.12 JRE IBM openj9\\"},
        {L"", L"", L"", L"favor_sun", L"17.0.2.8 JDK Sun temurin17\\"},
        {L"", L"", L"only_JDK", L"ibm", L"none"},
    };
    for (const auto& [maximum, preferred, jvmSource, vmProvider, expected] : cases) {
        RuntimePolicy policy;
        policy.maxVersion = maxVersionFromSetting(maximum);
        if (*preferred)
            policy.preferredVersions = {preferred};
        applyJvmSource(policy, jvmSource);
        applyVmProvider(policy, vmProvider);
        EXPECT_EQ(chosen(policy), expected) << maximum << preferred << jvmSource << vmProvider;
    }
}

// JAVA_HOME is the last source before the user is asked, here always answering with a runtime of the companion's width,
// which goes to the companion when there is one (the question and its answers are the end-to-end tests' concern).
TEST_F(RegistryRuntimes, JavaHomeOnlyWhenNothingElseFitsThenTheUsersPick) {
    std::wstring jre8 = installed(L"jre8", Layout::Modern), jdk17 = installed(L"jdk17", Layout::Modern, "17.0.2");
    std::wstring foreign = installed(L"foreign", Layout::CompanionWidth);
    // JAVA_HOME, "Maximum Version", a Java 8 runtime in the registry, a companion, the home whose library is settled,
    // whether the user was asked
    const std::tuple<std::wstring, const wchar_t*, bool, bool, std::wstring, bool> cases[] = {
        {jdk17, L"", true, false, jre8, false},
        {L"\"" + jdk17 + L"\\\"", L"", false, false, jdk17, false}, // quoted, as often set by hand
        {jdk17, L"1.7", true, false, foreign, true},                // refused like the registry's runtime
        {temp.path(), L"", false, true, foreign, true},             // no library
        {foreign, L"", false, false, foreign, true},
        {foreign, L"", false, true, foreign, false},
    };
    for (const auto& [home, maximum, registered, companion, settled, userAsked] : cases) {
        RegistryFixture fresh;
        if (registered) {
            ASSERT_TRUE(fresh.add(sunJre, L"1.8", jre8));
        }
        ScopedEnvironment javaHome(L"JAVA_HOME", home);
        RuntimePolicy policy;
        policy.maxVersion = maxVersionFromSetting(maximum);
        RuntimeChoice choice;
        bool asked = false;
        auto askUser = [&](const std::wstring&, RuntimePick& pick) {
            pick = {foreign + L"\\", foreign + L"\\bin\\server\\jvm.dll"};
            return asked = true;
        };
        ASSERT_TRUE(resolveRuntime(policy, companion ? L"C:\\companion.exe" : L"", askUser, choice)) << home;
        EXPECT_EQ(asked, userAsked) << home;
        EXPECT_EQ(choice.jvmPath, settled + L"\\bin\\server\\jvm.dll") << home;
        EXPECT_EQ(choice.pickedHome, userAsked ? foreign + L"\\" : L"") << "to be remembered";
        EXPECT_EQ(choice.handOff, companion && settled == foreign) << home;
    }
}

} // namespace
