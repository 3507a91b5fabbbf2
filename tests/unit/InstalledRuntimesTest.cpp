// Runtimes as today's installers register them (both hives, both views), how they meet the policy beside the old
// vendor keys, and JAVA_HOME as the last source.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "runtime/RuntimeSelection.h"

#include <gtest/gtest.h>

namespace {

// Where the library lies: below the home (Java 9 and later; a JDK also has bin\javac.exe, a 32-bit build an x86
// image), below its jre\ folder (a Java 8 JDK), or nowhere.
enum class Layout { Modern, ModernJdk, X86, Java8Jdk, NoLibrary, Missing };

class InstalledRuntimes : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }

    // A runtime folder below the temp folder, with a release file when one is given: its whole text, or only the
    // version it names.
    std::wstring runtime(const std::wstring& name, Layout layout, const std::string& release = "") {
        std::wstring home = temp / name;
        createFolders(home + L"\\bin");
        if (layout == Layout::Modern || layout == Layout::ModernJdk || layout == Layout::X86)
            installJvmLibrary(home, L"server", layout == Layout::X86 ? x86FixtureLibraryPath() : L"");
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

    TempFolder temp;
    RegistryFixture registry;
};

TEST_F(InstalledRuntimes, EachInstallerShapeGivesVersionKindAndVendor) {
    struct Registration {
        bool user;          // HKEY_CURRENT_USER, else HKEY_LOCAL_MACHINE
        const wchar_t* key; // below the hive (or Eclipse Adoptium's key); the value is named as its installer names it
        bool wow32;         // written and searched in the 32-bit view
        Layout layout;
        const char* release; // the release file's text or only its version, or ""
        const wchar_t* chosen;
    };
    const wchar_t* const adoptium = L"Software\\Eclipse Adoptium\\";
    const char* const openJ9 = "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"11.0.14.1\"\nJVM_VARIANT=\"Openj9\"";
    const Registration cases[] = {
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
        {true, L"Software\\JavaSoft\\JDK\\11", true, Layout::X86, openJ9, L"11.0.14.1 JDK IBM 11\\"},
        {true, L"Software\\JavaSoft\\JDK\\11", false, Layout::X86, openJ9, L"none"},
        // an uninstalled runtime and a home without a library
        {false, L"JRE\\17.0.2.8\\hotspot\\MSI", false, Layout::Missing, "", L"none"},
        {true, L"Software\\Microsoft\\JDK\\17.0.2.8\\hotspot\\MSI", false, Layout::NoLibrary, "", L"none"},
    };
    RuntimePolicy anyVendor;
    applyVmProvider(anyVendor, L"any");
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Registration& c = cases[i];
        std::wstring key = c.key[0] == L'S' ? c.key : adoptium + std::wstring(c.key);
        const wchar_t* value = key.find(L"JavaSoft") != std::wstring::npos ? L"JavaHome"
                               : key.find(L"MSI") != std::wstring::npos    ? L"Path"
                                                                           : L"InstallationPath";
        RegistryFixture fresh;
        ASSERT_TRUE(fresh.addValue(c.user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key, value,
                                   runtime(std::to_wstring(i), c.layout, c.release),
                                   c.wow32 ? RegistryFixture::wow32View : RegistryFixture::nativeView));
        EXPECT_EQ(chosen(anyVendor, c.wow32 ? RegistryView::Wow32 : RegistryView::Native), c.chosen) << key;
    }
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Azul Systems\\Zulu\\zulu-17", L"JavaHome",
                                  runtime(L"wrong-value", Layout::Modern)));
    EXPECT_EQ(chosen(anyVendor), L"none") << "the installer's own value names the home";
}

// The old keys' runtimes and today's meet one policy: bounds, kinds, vendors, preferred versions, order.
TEST_F(InstalledRuntimes, OldAndNewKeysMeetOnePolicy) {
    ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.8.0_321", runtime(L"jre8", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI",
                                  L"Path", runtime(L"temurin17", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_CURRENT_USER, L"Software\\Eclipse Adoptium\\JRE\\21.0.1.12\\openj9\\MSI",
                                  L"Path", runtime(L"openj9", Layout::Modern)));
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

TEST_F(InstalledRuntimes, JavaHomeOnlyWhenNothingElseFits) {
    std::wstring jre8 = runtime(L"jre8", Layout::Modern), jdk17 = runtime(L"jdk17", Layout::Modern, "17.0.2");
    std::wstring x86 = runtime(L"x86", Layout::X86);
    struct Case {
        std::wstring javaHome;
        const wchar_t* maximum;
        bool registered; // a Java 8 runtime in the registry
        bool companion;
        std::wstring settled; // the home whose library is settled, or empty for none
    };
    const Case cases[] = {
        {jdk17, L"", true, false, jre8},
        {L"\"" + jdk17 + L"\\\"", L"", false, false, jdk17}, // quoted, as often set by hand
        {jdk17, L"1.7", true, false, L""},                   // refused like the registry's runtime
        {temp.path(), L"", false, false, L""},               // no library
        {x86, L"", false, false, L""},
        {x86, L"", false, true, x86},
    };
    for (const Case& c : cases) {
        RegistryFixture fresh;
        if (c.registered) {
            ASSERT_TRUE(fresh.add(vendorKeys()[1].path, L"1.8", jre8));
        }
        ScopedEnvironment javaHome(L"JAVA_HOME", c.javaHome);
        RuntimePolicy policy;
        policy.maxVersion = maxVersionFromSetting(c.maximum);
        RuntimeChoice choice;
        bool asked = false;
        auto askUser = [&asked](const std::wstring&, RuntimePick&) { return !(asked = true); };
        EXPECT_EQ(resolveRuntime(policy, c.companion ? L"C:\\companion.exe" : L"", askUser, choice),
                  !c.settled.empty());
        EXPECT_EQ(asked, c.settled.empty()) << "the user is asked only when JAVA_HOME does not do either";
        EXPECT_EQ(choice.jvmPath, c.settled.empty() ? L"" : c.settled + L"\\bin\\server\\jvm.dll") << c.javaHome;
        EXPECT_EQ(choice.handOff, c.companion) << c.javaHome;
    }
}

} // namespace
