// The settings file read through the real profile functions, with the per-user copy.
#include "TestFiles.h"
#include "TestProcess.h"
#include "launcher/Settings.h"
#include "support/SettingsFile.h"
#include "support/ModulePath.h"

#include <gtest/gtest.h>

namespace {

const std::wstring executable = L"C:\\Apps\\Editor\\editor.exe";

struct SettingsFileTest : ::testing::Test {
    TempFolder folder;
    std::wstring settings = folder / L"editor.ini";
    ScopedEnvironment appData{L"APPDATA", folder / L"appdata"};

    SettingsResult load(Launcher& launcher, const std::wstring& text) {
        writeUnicodeFile(settings, text);
        return loadSettingsFrom(launcher, settings, executable);
    }

    // "JRE Path" as a start would read it, for a product P with the code C.
    std::wstring jrePathRead(const std::wstring& applicationType) {
        Launcher launcher;
        load(launcher,
             L"[Java Runtime Environment]\r\nMain Class=a.B\r\nJRE Path=C:\\from-settings\r\n[Application]\r\n"
             L"Application Type=" +
                 applicationType + L"\r\n[Product Information]\r\nProduct Name=P\r\nProduct Code=C");
        return launcher.policy.jrePath;
    }
};

TEST_F(SettingsFileTest, EveryKeyWithItsCaseRule) {
    Launcher launcher;
    ASSERT_EQ(load(launcher, L"[Product Information]\r\nProduct Name=Editor\r\nProduct Code={1234}\r\n"
                             L"[application]\r\nApplication Type=Service\r\nFailure Check=YES\r\n"
                             L"Override WorkingDir=yes\r\nPair Product=C:\\x86\\editor.exe\r\nPair Return Code=Yes\r\n"
                             L"[Java Runtime Environment]\r\nMain Class=com.example.Outer$Main\r\n"
                             L"Minimum Version=1.6.0_20\r\nMaximum Version=1.8\r\nPreferred versions=1.7;;1.8;\r\n"
                             L"JVM Type=favor_server\r\nJVM Source=only_JDK\r\nVM Provider=FAVOR_IBM\r\n"
                             L"System Path=C:\\tools\r\nLibrary Path=native\r\nJRE Path=C:\\jre\r\n"),
              SettingsResult::Loaded);
    EXPECT_EQ(launcher.productName + launcher.productCode, L"Editor{1234}");
    EXPECT_FALSE(launcher.serviceMode) << "\"service\" is compared case-sensitively";
    EXPECT_TRUE(launcher.java.failureCheck && launcher.overrideWorkingDir && launcher.pairReturnCode);
    EXPECT_EQ(launcher.pairProduct, L"C:\\x86\\editor.exe");
    EXPECT_EQ(launcher.java.mainClass, L"com/example/Outer$Main");
    EXPECT_EQ(format(launcher.policy.minVersion) + L"-" + format(launcher.policy.maxVersion), L"1.6.0.20-1.8");
    EXPECT_EQ(launcher.policy.maxVersion.parts[2], 65535);
    EXPECT_EQ(launcher.policy.preferredVersions, (std::vector<std::wstring>{L"1.7", L"", L"1.8"}));
    EXPECT_EQ(launcher.policy.jvmType, JvmType::FavorServer);
    EXPECT_TRUE(launcher.policy.jdkWanted && !launcher.policy.jreWanted && !launcher.policy.favorMode);
    EXPECT_TRUE(launcher.policy.favorIbm && !launcher.policy.favorSun);
    EXPECT_EQ(launcher.java.systemPath + L"|" + launcher.java.libraryPath + L"|" + launcher.policy.jrePath,
              L"C:\\tools|native|C:\\jre");

    Launcher stopped;
    EXPECT_EQ(
        load(stopped, L"[Application]\r\nFailure Check=Yes\r\n[Java Runtime Environment]\r\nMinimum Version=1.7\r\n"),
        SettingsResult::NoMainClass);
    EXPECT_EQ(stopped.policy.minVersion.parts[1], 7) << "read before the main class";
    EXPECT_FALSE(stopped.java.failureCheck) << "read after it";

    Launcher plus;
    ASSERT_EQ(load(plus, L"[Java Runtime Environment+]\r\nMain Class=a.B\r\nJVM Type=server\r\n"),
              SettingsResult::Loaded);
    EXPECT_EQ(plus.java.mainClass, L"a/B") << "one value: no separating space from the \"+\" section";
    EXPECT_EQ(plus.policy.jvmType, JvmType::Server);
}

TEST_F(SettingsFileTest, LongValuesAndPathsAreNeverCut) {
    for (size_t length : {254u, 255u, 100000u}) {
        std::wstring value(length, L'v');
        value.back() = L'z';
        writeUnicodeFile(settings, L"[S]\r\nK=" + value + L"\r\n");
        EXPECT_EQ(PlainSettingsReader(settings).read(L"S", L"K"), value) << length;
    }
    std::wstring deep = folder.path();
    while (deep.size() < 300)
        deep += L"\\" + std::wstring(40, L'd');
    writeUnicodeFile(deep + L"\\editor.ini", L"[S]\r\nK=deep\r\n");
    ASSERT_EQ(settingsFilePathFor(deep + L"\\editor.exe"), deep + L"\\editor.ini");
    EXPECT_EQ(PlainSettingsReader(deep + L"\\editor.ini").read(L"S", L"K"), L"deep");
    DWORD error = 0;
    std::wstring whole = modulePath(nullptr, error);
    EXPECT_EQ(modulePath(nullptr, error, 5), whole);
}

TEST_F(SettingsFileTest, FileLocations) {
    EXPECT_EQ(settingsFilePathFor(executable), L"C:\\Apps\\Editor\\editor.ini");
    EXPECT_EQ(settingsFilePathFor(L"C:\\my.apps\\editor"), L"C:\\my.ini");
    EXPECT_EQ(settingsFilePathFor(L"C:\\apps\\editor"), L"");
    EXPECT_EQ(userSettingsFilePath(executable, L"Editor: Pro\\?\"|><*/", L"{1234}", false),
              folder / L"appdata\\Editor Pro\\{1234}\\editor.ini");
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    EXPECT_EQ(userSettingsFilePath(executable, L"P", L"C", false), L"\\P\\C\\editor.ini");
}

TEST_F(SettingsFileTest, PerUserCopyDecidesJrePathOutsideServiceMode) {
    EXPECT_EQ(jrePathRead(L""), L"C:\\from-settings");
    writeUnicodeFile(folder / L"appdata\\P\\C\\editor.ini",
                     L"[Java Runtime Environment]\r\nJRE Path=C:\\from-copy\r\n");
    EXPECT_EQ(jrePathRead(L""), L"C:\\from-copy");
    EXPECT_EQ(jrePathRead(L"service"), L"C:\\from-settings");
    writeUnicodeFile(folder / L"appdata\\P\\C\\editor.ini", L"[Other]\r\nkey=value\r\n");
    EXPECT_EQ(jrePathRead(L""), L"") << "the copy decides even when it has no JRE Path";
}

} // namespace
