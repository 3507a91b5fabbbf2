// The settings file read through the real profile functions, with the per-user copy and the built-in layer.
#include "Installation.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "launcher/Settings.h"
#include "support/SettingsFile.h"
#include "support/ModulePath.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::wstring executable = L"C:\\Apps\\Editor\\editor.exe";

struct SettingsFileTest : ::testing::Test {
    TempFolder folder;
    std::wstring settings = folder / L"editor.ini";
    ScopedEnvironment appData{L"APPDATA", folder / L"appdata"};

    std::vector<std::unique_ptr<Launcher>> loaded; // launchers live as long as the test

    Launcher& load(const std::wstring& text, SettingsResult expected = SettingsResult::Loaded) {
        writeUnicodeFile(settings, text);
        loaded.push_back(std::make_unique<Launcher>());
        EXPECT_EQ(loadSettingsFrom(*loaded.back(), settings, executable), expected);
        return *loaded.back();
    }
    std::wstring withMain(const std::wstring& text) {
        return L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n" + text;
    }
};

TEST_F(SettingsFileTest, EveryKeyWithItsCaseRule) {
    Launcher& launcher = load(L"[Product Information]\r\nProduct Name=Editor\r\nProduct Code={1234}\r\n"
                              L"[Application]\r\nApplication Type=Service\r\nFailure Check=YES\r\n"
                              L"Override WorkingDir=yes\r\nPair Product=C:\\x86\\editor.exe\r\nPair Return Code=Yes\r\n"
                              L"[Java Runtime Environment]\r\nMain Class=com.example.Outer$Main\r\n"
                              L"Minimum Version=1.6.0_20\r\nMaximum Version=1.8\r\nPreferred versions=1.7;;1.8;\r\n"
                              L"JVM Type=favor_server\r\nJVM Source=only_JDK\r\nVM Provider=FAVOR_IBM\r\n"
                              L"System Path=C:\\tools\r\nLibrary Path=native\r\nJRE Path=C:\\jre\r\n");
    EXPECT_EQ(launcher.productName, L"Editor");
    EXPECT_EQ(launcher.productCode, L"{1234}");
    EXPECT_FALSE(launcher.serviceMode); // "service" is compared case-sensitively
    EXPECT_TRUE(launcher.java.failureCheck);
    EXPECT_TRUE(launcher.overrideWorkingDir);
    EXPECT_EQ(launcher.pairProduct, L"C:\\x86\\editor.exe");
    EXPECT_TRUE(launcher.pairReturnCode);
    EXPECT_EQ(launcher.java.mainClass, L"com/example/Outer$Main");
    EXPECT_EQ(format(launcher.policy.minVersion), L"1.6.0.20");
    EXPECT_EQ(launcher.policy.maxVersion.parts[2], 65535);
    EXPECT_EQ(launcher.policy.preferredVersions, (std::vector<std::wstring>{L"1.7", L"", L"1.8"}));
    EXPECT_EQ(launcher.policy.jvmType, JvmType::FavorServer);
    EXPECT_TRUE(launcher.policy.jdkWanted);
    EXPECT_FALSE(launcher.policy.jreWanted);
    EXPECT_FALSE(launcher.policy.favorMode);
    EXPECT_TRUE(launcher.policy.favorIbm);
    EXPECT_FALSE(launcher.policy.favorSun);
    EXPECT_EQ(launcher.java.systemPath, L"C:\\tools");
    EXPECT_EQ(launcher.java.libraryPath, L"native");
    EXPECT_EQ(launcher.policy.jrePath, L"C:\\jre");
}

TEST_F(SettingsFileTest, FlagsThatDoNotCount) {
    Launcher& launcher = load(withMain(L"JVM Type=Server\r\nVM Provider=sun\r\nJVM Source=favor_jre\r\n"
                                       L"[Application]\r\nFailure Check=true\r\nOverride WorkingDir=Y\r\n"
                                       L"Application Type=service\r\n"));
    EXPECT_FALSE(launcher.java.failureCheck);
    EXPECT_FALSE(launcher.overrideWorkingDir);
    EXPECT_TRUE(launcher.serviceMode);
    EXPECT_EQ(launcher.policy.jvmType, JvmType::Default);
    EXPECT_TRUE(launcher.policy.acceptSun);
    EXPECT_FALSE(launcher.policy.acceptIbm);
    EXPECT_FALSE(launcher.policy.jdkWanted || launcher.policy.jreWanted || launcher.policy.favorMode);
}

TEST_F(SettingsFileTest, MissingMainClassStopsBeforeTheRemainingKeys) {
    Launcher& launcher =
        load(L"[Application]\r\nFailure Check=Yes\r\n[Java Runtime Environment]\r\nMinimum Version=1.7\r\n",
             SettingsResult::NoMainClass);
    EXPECT_EQ(launcher.policy.minVersion.parts[1], 7);
    EXPECT_FALSE(launcher.java.failureCheck);
    Launcher none;
    EXPECT_EQ(loadSettingsFrom(none, folder / L"absent.ini", executable), SettingsResult::NoMainClass);
}

TEST_F(SettingsFileTest, PlusSectionAppendsToTheBuiltInValueAndTheFileReplacesIt) {
    writeUnicodeFile(settings, L"[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Dx=1\r\nMain Class=a.B\r\n"
                               L"[Application]\r\nCmd=--from-file\r\n");
    LayeredSettingsReader reader = layeredSettingsReader(settings);
    // This test program carries its own built-in settings text.
    EXPECT_EQ(reader.read(L"Java Runtime Environment", L"Virtual Machine Parameters"), L"-Xmx1g -Dx=1");
    EXPECT_EQ(reader.read(L"Java Runtime Environment", L"Main Class"), L" a.B");
    EXPECT_EQ(reader.read(L"Application", L"Cmd"), L"--from-file");
    EXPECT_EQ(reader.read(L"application", L"cmd"), L"--from-file");
    EXPECT_EQ(reader.read(L"Application", L"Absent"), L"");
    EXPECT_EQ(PlainSettingsReader(settings).read(L"Java Runtime Environment", L"Virtual Machine Parameters"), L"");

    // Keys that hold one value lose the separating space.
    Launcher& launcher = load(L"[Java Runtime Environment+]\r\nMain Class=a.B\r\nJVM Type=server\r\n");
    EXPECT_EQ(launcher.java.mainClass, L"a/B");
    EXPECT_EQ(launcher.policy.jvmType, JvmType::Server);
}

TEST_F(SettingsFileTest, LongValuesAreNeverCut) {
    std::wstring value(100000, L'x');
    value[0] = L'a';
    value.back() = L'z';
    writeUnicodeFile(settings, L"[S]\r\nK=" + value + L"\r\n");
    EXPECT_EQ(PlainSettingsReader(settings).read(L"S", L"K"), value);
    // The lengths around the first buffer size.
    for (size_t length : {254u, 255u, 256u, 511u}) {
        std::wstring exact(length, L'v');
        writeUnicodeFile(settings, L"[S]\r\nK=" + exact + L"\r\n");
        EXPECT_EQ(PlainSettingsReader(settings).read(L"S", L"K"), exact) << length;
    }
}

TEST_F(SettingsFileTest, SettingsFileInAFolderDeeperThanMaxPath) {
    std::wstring deep = folder.path();
    while (deep.size() < 300)
        deep += L"\\" + std::wstring(40, L'd');
    createFolders(deep);
    writeUnicodeFile(deep + L"\\editor.ini", withMain(L""));
    std::wstring path = settingsFilePathFor(deep + L"\\editor.exe");
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(path, deep + L"\\editor.ini");
    EXPECT_EQ(PlainSettingsReader(path).read(L"Java Runtime Environment", L"Main Class"), L"com.example.App");
}

TEST_F(SettingsFileTest, SettingsPathIsCutAfterTheLastDot) {
    EXPECT_EQ(settingsFilePathFor(L"C:\\Apps\\Editor\\editor.exe"), L"C:\\Apps\\Editor\\editor.ini");
    EXPECT_EQ(settingsFilePathFor(L"C:\\my.apps\\editor"), L"C:\\my.ini");
    EXPECT_EQ(settingsFilePathFor(L"C:\\apps\\editor"), L"");
}

TEST_F(SettingsFileTest, ModulePathGrowsUntilTheWholePathFits) {
    DWORD error = 0;
    std::wstring whole = modulePath(nullptr, error);
    ASSERT_FALSE(whole.empty());
    for (size_t start : {1u, 5u, 16u})
        EXPECT_EQ(modulePath(nullptr, error, start), whole) << start;
}

TEST_F(SettingsFileTest, UserSettingsFilePathDropsReservedCharacters) {
    EXPECT_EQ(userSettingsFilePath(executable, L"a/b", L"X", false), folder / L"appdata\\ab\\X\\editor.ini");
    EXPECT_EQ(userSettingsFilePath(executable, L"Editor: Pro\\?\"|><*", L"{1234}", false),
              folder / L"appdata\\Editor Pro\\{1234}\\editor.ini");
    ScopedEnvironment noAppData(L"APPDATA", L"");
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    EXPECT_EQ(userSettingsFilePath(executable, L"P", L"C", false), L"\\P\\C\\editor.ini");
}

TEST_F(SettingsFileTest, PerUserCopyDecidesJrePathEvenWhenEmpty) {
    std::wstring text = withMain(L"JRE Path=C:\\from-settings\r\n[Product Information]\r\nProduct Name=a/b\r\n"
                                 L"Product Code=X\r\n");
    EXPECT_EQ(load(text).policy.jrePath, L"C:\\from-settings");

    std::wstring copy = folder / L"appdata\\ab\\X\\editor.ini";
    createFolders(folder / L"appdata\\ab\\X");
    writeUnicodeFile(copy, L"[Java Runtime Environment]\r\nJRE Path=C:\\from-copy\r\n");
    EXPECT_EQ(load(text).policy.jrePath, L"C:\\from-copy");

    writeUnicodeFile(copy, L"[Other]\r\nkey=value\r\n");
    EXPECT_EQ(load(text).policy.jrePath, L"");
}

TEST_F(SettingsFileTest, ServiceModeNeverReadsThePerUserCopy) {
    createFolders(folder / L"appdata\\P\\C");
    writeUnicodeFile(folder / L"appdata\\P\\C\\editor.ini",
                     L"[Java Runtime Environment]\r\nJRE Path=C:\\from-copy\r\n");
    Launcher& launcher = load(withMain(L"JRE Path=C:\\from-settings\r\n[Product Information]\r\nProduct Name=P\r\n"
                                       L"Product Code=C\r\n[Application]\r\nApplication Type=service\r\n"));
    EXPECT_EQ(launcher.policy.jrePath, L"C:\\from-settings");
}

TEST_F(SettingsFileTest, RememberRuntimeWritesTheOwnPerUserCopy) {
    createFolders(folder / L"appdata");
    Launcher launcher;
    launcher.productName = L"P";
    launcher.productCode = L"C";
    rememberRuntime(launcher, L"C:\\picked\\");
    DWORD error = 0;
    std::wstring ownCopy = userSettingsFilePath(modulePath(nullptr, error), L"P", L"C", false);
    EXPECT_EQ(PlainSettingsReader(ownCopy).read(L"Java Runtime Environment", L"JRE Path"), L"C:\\picked\\");

    launcher.pairProduct = folder / L"x86\\companion.exe";
    rememberRuntime(launcher, L"C:\\other\\");
    EXPECT_EQ(PlainSettingsReader(ownCopy).read(L"Java Runtime Environment", L"JRE Path"), L"C:\\other\\");
    std::wstring companionCopy = folder / L"appdata\\P\\C\\companion.ini";
    EXPECT_EQ(PlainSettingsReader(companionCopy).read(L"Java Runtime Environment", L"JRE Path"), L"C:\\other\\");
}

TEST_F(SettingsFileTest, RememberRuntimeInServiceModeWritesTheCompanionsSettingsFile) {
    createFolders(folder / L"x86");
    Launcher launcher;
    launcher.serviceMode = true;
    launcher.pairProduct = folder / L"x86\\companion.exe";
    rememberRuntime(launcher, L"C:\\picked\\");
    EXPECT_EQ(PlainSettingsReader(folder / L"x86\\companion.ini").read(L"Java Runtime Environment", L"JRE Path"),
              L"C:\\picked\\");
    EXPECT_FALSE(fileExists(folder / L"appdata"));
}

} // namespace
