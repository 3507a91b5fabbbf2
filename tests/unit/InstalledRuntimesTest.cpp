// Runtimes as today's installers register them (both hives, both views), how they meet the policy beside the old
// vendor keys, and JAVA_HOME as the last source.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "runtime/RuntimeSelection.h"
#include "support/TextSplit.h"

#include <gtest/gtest.h>

namespace {

// How a runtime folder is laid out: the library below the home (Java 9 and later; a JDK also has bin\javac.exe; a
// 32-bit build has an x86 image), below its jre\ folder (a Java 8 JDK), or nowhere.
enum class Layout { Modern, ModernJdk, X86, Java8Jdk, NoLibrary, Missing };

class InstalledRuntimes : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }

    // A runtime folder below the test's temp folder, with a release file when given one; returns the home as a
    // registry value would name it.
    std::wstring runtime(const std::wstring& name, Layout layout, const std::string& release = "") {
        std::wstring home = temp / name;
        if (layout == Layout::Missing)
            return home;
        createFolders(home + L"\\bin");
        if (layout == Layout::Modern || layout == Layout::ModernJdk)
            installJvmLibrary(home, L"server");
        if (layout == Layout::X86)
            installJvmLibrary(home, L"server", x86FixtureLibraryPath());
        if (layout == Layout::ModernJdk)
            writeBytes(home + L"\\bin\\javac.exe", "");
        if (layout == Layout::Java8Jdk)
            installJvmLibrary(home + L"\\jre", L"server");
        if (!release.empty())
            writeBytes(home + L"\\release", release);
        return home;
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

struct Registration {
    HKEY root;
    const wchar_t* key; // below the root
    const wchar_t* value;
    RegistryView view;
    const wchar_t* home; // a folder of its own for each case
    Layout layout;
    const char* release;
    const wchar_t* chosen; // as InstalledRuntimes::chosen gives it
};

TEST_F(InstalledRuntimes, EachInstallerShapeGivesVersionKindAndVendor) {
    const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER;
    const RegistryView native = RegistryView::Native, wow32 = RegistryView::Wow32;
    const char* const zulu17 = "JAVA_VERSION=\"17.0.2\"\r\nIMPLEMENTOR=\"Azul Systems, Inc.\"\r\n";
    const char* const semeru11 = "IMPLEMENTOR=\"IBM Corporation\"\nJAVA_VERSION=\"11.0.14.1\"\nJVM_VARIANT=\"Openj9\"";
    // clang-format off
    const Registration cases[] = {
        {lm, L"Software\\JavaSoft\\JDK\\17.0.2", L"JavaHome", native, L"a", Layout::Modern, "", L"17.0.2 JDK Sun a\\"},
        {lm, L"Software\\JavaSoft\\JDK\\17", L"JavaHome", native, L"b", Layout::Modern, "JAVA_VERSION=\"17.0.2\"\n",
         L"17.0.2 JDK Sun b\\"},
        {lm, L"Software\\JavaSoft\\JRE\\10.0.1", L"JavaHome", native, L"c", Layout::ModernJdk, "", L"10.0.1 JRE Sun c\\"},
        {lm, L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI", L"Path", native, L"d", Layout::Modern, "",
         L"17.0.2.8 JDK Sun d\\"},
        {lm, L"Software\\Eclipse Adoptium\\JRE\\11.0.14.9\\openj9\\MSI", L"Path", native, L"e", Layout::Modern, "",
         L"11.0.14.9 JRE IBM e\\"},
        {lm, L"Software\\AdoptOpenJDK\\JDK\\8.0.292.10\\hotspot\\MSI", L"Path", native, L"f", Layout::Java8Jdk, "",
         L"1.8.0.292 JDK Sun f\\jre\\"},
        {lm, L"Software\\Eclipse Foundation\\JDK\\16.0.2.7\\hotspot\\MSI", L"Path", wow32, L"g", Layout::Modern, "",
         L"16.0.2.7 JDK Sun g\\"},
        {lm, L"Software\\Microsoft\\JDK\\17.0.2.8\\hotspot\\MSI", L"Path", native, L"h", Layout::Modern, "",
         L"17.0.2.8 JDK Sun h\\"},
        {cu, L"Software\\Azul Systems\\Zulu\\zulu-17", L"InstallationPath", native, L"i", Layout::ModernJdk, zulu17,
         L"17.0.2 JDK Sun i\\"},
        {lm, L"Software\\Azul Systems\\Zulu\\zulu-11-jre", L"InstallationPath", native, L"j", Layout::ModernJdk,
         "JAVA_VERSION=\"11.0.14\"", L"11.0.14 JRE Sun j\\"},
        {lm, L"Software\\Azul Systems\\Zulu\\zulu-11", L"InstallationPath", native, L"k", Layout::Modern,
         "JAVA_VERSION=\"11.0.14\"", L"11.0.14 JRE Sun k\\"},
        {cu, L"Software\\BellSoft\\Liberica\\jre-17", L"InstallationPath", native, L"l", Layout::ModernJdk,
         "JAVA_VERSION=\"17.0.1\"", L"17.0.1 JRE Sun l\\"},
        {cu, L"Software\\Azul Systems\\Zulu\\zulu-8", L"InstallationPath", native, L"r", Layout::Java8Jdk,
         "JAVA_VERSION=\"1.8.0_322\"", L"1.8.0.322 JDK Sun r\\jre\\"},
        {cu, L"Software\\JavaSoft\\JDK\\11", L"JavaHome", wow32, L"m", Layout::X86, semeru11, L"11.0.14.1 JDK IBM m\\"},
        // a 32-bit runtime in the user's hive, shared by both views; an uninstalled runtime, a home without a library,
        // and a key without the value
        {cu, L"Software\\JavaSoft\\JDK\\11", L"JavaHome", native, L"q", Layout::X86, semeru11, L"none"},
        {lm, L"Software\\Eclipse Adoptium\\JRE\\17.0.2.8\\hotspot\\MSI", L"Path", native, L"n", Layout::Missing, "",
         L"none"},
        {cu, L"Software\\Microsoft\\JDK\\17.0.2.8\\hotspot\\MSI", L"Path", native, L"o", Layout::NoLibrary, "", L"none"},
        {lm, L"Software\\Azul Systems\\Zulu\\zulu-17", L"JavaHome", native, L"p", Layout::Modern, "", L"none"},
    };
    // clang-format on
    RuntimePolicy anyVendor;
    applyVmProvider(anyVendor, L"any");
    for (const Registration& c : cases) {
        RegistryFixture fresh;
        REGSAM view = c.view == RegistryView::Wow32 ? RegistryFixture::wow32View : RegistryFixture::nativeView;
        ASSERT_TRUE(fresh.addValue(c.root, c.key, c.value, runtime(c.home, c.layout, c.release), view));
        EXPECT_EQ(chosen(anyVendor, c.view), c.chosen) << c.key;
    }
}

// The old keys' runtimes and today's go through one policy: bounds, kinds, vendors, preferred versions, order.
TEST_F(InstalledRuntimes, OldAndNewKeysMeetOnePolicy) {
    ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.8.0_321", runtime(L"jre8", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI",
                                  L"Path", runtime(L"temurin17", Layout::Modern)));
    ASSERT_TRUE(registry.addValue(HKEY_CURRENT_USER, L"Software\\Eclipse Adoptium\\JRE\\21.0.1.12\\openj9\\MSI",
                                  L"Path", runtime(L"openj9", Layout::Modern)));
    struct Policy {
        const wchar_t *maximum, *preferred, *jvmSource, *vmProvider, *chosen;
    };
    const Policy cases[] = {
        {L"1.8", L"", L"", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"", L"", L"17.0.2.8 JDK Sun temurin17\\"},
        {L"", L"1.8", L"", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"only_JRE", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"favor_JRE", L"", L"1.8.0.321 JRE Sun jre8\\"},
        {L"", L"", L"", L"any", L"21.0.1.12 JRE IBM openj9\\"},
        {L"", L"", L"", L"favor_sun", L"17.0.2.8 JDK Sun temurin17\\"},
        {L"", L"", L"only_JDK", L"ibm", L"none"},
        {L"11", L"", L"", L"ibm", L"none"},
        {L"", L"", L"", L"ibm", L"21.0.1.12 JRE IBM openj9\\"},
    };
    for (const Policy& c : cases) {
        RuntimePolicy policy;
        policy.maxVersion = maxVersionFromSetting(c.maximum);
        policy.preferredVersions = splitList(c.preferred, L";");
        applyJvmSource(policy, c.jvmSource);
        applyVmProvider(policy, c.vmProvider);
        EXPECT_EQ(chosen(policy), c.chosen)
            << c.maximum << "|" << c.preferred << "|" << c.jvmSource << "|" << c.vmProvider;
    }
}

TEST_F(InstalledRuntimes, JavaHomeOnlyWhenNothingElseFits) {
    std::wstring jdk17 = runtime(L"jdk17", Layout::Modern, "JAVA_VERSION=\"17.0.2\"");
    std::wstring x86 = temp / L"x86";
    installJvmLibrary(x86, L"server", x86FixtureLibraryPath());
    struct Case {
        std::wstring javaHome;
        const wchar_t* maximum;
        const wchar_t* pairProduct;
        const wchar_t* registered; // a Java 8 runtime in the registry, or null
        std::wstring jvmPath;      // empty when no runtime is settled
        bool handOff;
    };
    const Case cases[] = {
        {jdk17, L"", L"", L"1.8", temp / L"jre8\\bin\\server\\jvm.dll", false},
        {jdk17, L"", L"", nullptr, jdk17 + L"\\bin\\server\\jvm.dll", false},
        {L"\"" + jdk17 + L"\\\"", L"", L"", nullptr, jdk17 + L"\\bin\\server\\jvm.dll", false},
        {jdk17, L"11", L"", nullptr, L"", false},
        {jdk17, L"1.7", L"", L"1.8", L"", false}, // the registry's runtime is refused too
        {jdk17, L"", L"", L"1.9-no-library", jdk17 + L"\\bin\\server\\jvm.dll", false},
        {temp.path(), L"", L"", nullptr, L"", false}, // a folder without a library
        {x86, L"", L"", nullptr, L"", false},
        {x86, L"", L"C:\\companion.exe", nullptr, x86 + L"\\bin\\server\\jvm.dll", true},
    };
    for (const Case& c : cases) {
        RegistryFixture fresh;
        if (c.registered) {
            bool hasLibrary = std::wstring(c.registered).find(L"no-library") == std::wstring::npos;
            std::wstring home = hasLibrary ? runtime(L"jre8", Layout::Modern) : temp / L"missing";
            ASSERT_TRUE(fresh.add(vendorKeys()[1].path, c.registered, home));
        }
        ScopedEnvironment javaHome(L"JAVA_HOME", c.javaHome);
        RuntimePolicy policy;
        policy.maxVersion = maxVersionFromSetting(c.maximum);
        RuntimeChoice choice;
        EXPECT_EQ(resolveRuntime(policy, c.pairProduct, choice), !c.jvmPath.empty()) << c.javaHome;
        EXPECT_EQ(choice.jvmPath, c.jvmPath) << c.javaHome;
        EXPECT_EQ(choice.handOff, c.handOff) << c.javaHome;
    }
}

} // namespace
