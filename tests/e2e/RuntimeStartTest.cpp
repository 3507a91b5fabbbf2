// Which runtime a start loads, and the hand-off of a 32-bit runtime to the companion launcher. The libraries here
// are empty files, so loading fails with message 222, which names the library that was tried.
#include "Installation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

// "JRE Path" starts every stand-in launch, and the registry's candidates are the unit tests' concern. The launcher
// lives in root\App and is started in root\work.
TEST(RuntimeSelectionStart, LocalRuntimeBesideTheLauncherAndNoLibraryFromTheCurrentFolder) {
    const struct {
        const wchar_t* jvmType;            // "JVM Type", or null
        std::vector<const wchar_t*> files; // empty files made under the test's folder
        const wchar_t* loaded;             // the library tried, or null when none is found and the user is asked
    } cases[] = {
        // the executable's own folder is a runtime before its jre64 folder
        {nullptr,
         {L"App\\bin\\java.dll", L"App\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\java.dll",
          L"App\\jre64\\bin\\client\\jvm.dll"},
         L"App\\bin\\client\\jvm.dll"},
        {L"server",
         {L"App\\jre64\\bin\\java.dll", L"App\\jre64\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\server\\jvm.dll"},
         L"App\\jre64\\bin\\server\\jvm.dll"},
        {nullptr, {L"work\\bin\\client\\jvm.dll"}, nullptr},
    };
    ScopedEnvironment noJavaHome(L"JAVA_HOME", L""); // the last place the launcher looks
    for (const auto& c : cases) {
        if (!c.loaded && RegistryFixture::machineHasRuntimes())
            continue; // a registered runtime would be found
        TempFolder root;
        Installation app(root / L"App");
        app.set(jreSection, L"Main Class", L"com.example.App");
        if (c.jvmType)
            app.set(jreSection, L"JVM Type", c.jvmType);
        for (const std::wstring file : c.files) {
            createFolders(root / file.substr(0, file.rfind(L'\\')));
            writeBytes(root / file, "");
        }
        createFolders(root / L"work");
        auto process = app.start(L"-nosplash", root / L"work");
        if (c.loaded) {
            std::wstring expected = L"Failed to load Java VM library: " + root / c.loaded + L" (errno = ";
            EXPECT_EQ(dismissMessageBox(process->id()).substr(0, expected.size()), expected);
        } else {
            HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
            ASSERT_TRUE(dialog) << "nothing was loaded: the user is asked";
            pressButton(dialog, IDCANCEL);
        }
        EXPECT_TRUE(process->waitForExit(10000));
        EXPECT_EQ(process->exitCode(), failedStart);
    }
}

// The companion (a probe) records its command line and folder and ends with 0x1234. A dbghelp.dll planted beside
// the launcher and in the current folder must not be the one loaded to read the runtime's image (Wine always
// takes its own, so there this shows only that the image is still recognised).
TEST(CompanionStart, ThirtyTwoBitRuntimeIsHandedOff) {
    const struct {
        const wchar_t* pairReturnCode;
        bool companionInstalled;
        DWORD exitCode;
        bool viaRegistry; // the 32-bit runtime is registered in the registry's 32-bit view, not named by "JRE Path"
    } cases[] = {
        {L"", true, 0, false},
        {L"YES", true, 0x1234, false},
        {L"yes", false, failedStart, false}, // a companion that cannot be started is a failed start
        {L"yes", true, 0x1234, true},
    };
    for (const auto& c : cases) {
        if (c.viaRegistry && RegistryFixture::machineHasRuntimes())
            continue;
        TempFolder root;
        RegistryFixture registry;
        Installation app(root / L"App");
        std::wstring work = root / L"work";
        installJvmLibrary(root / L"x86", L"client", x86FixtureLibraryPath());
        createFolders(work);
        if (c.companionInstalled)
            copyFile(companionProbePath(), app.file(L"companion.exe"));
        for (const std::wstring& folder : {app.folder(), work})
            copyFile(plantedHelperLibraryPath(), folder + L"\\dbghelp.dll");
        ScopedEnvironment mark(L"KORU_TEST_PLANTED_MARK", root / L"planted-was-loaded");
        ScopedEnvironment companionRecord(L"KORU_TEST_COMPANION_RECORD", root / L"companion.txt");
        ScopedEnvironment companionExit(L"KORU_TEST_COMPANION_EXIT", L"0x1234");
        app.set({{jreSection, L"Main Class", L"com.example.App"},
                 {L"Application", L"Pair Product", app.file(L"companion.exe")},
                 {L"Application", L"Pair Return Code", c.pairReturnCode}});
        if (c.viaRegistry)
            ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.8", root / L"x86", RegistryFixture::wow32View));
        else
            app.set(jreSection, L"JRE Path", root / L"x86");

        auto process = app.start(L"-nosplash one two", work);
        ASSERT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), c.exitCode);
        EXPECT_FALSE(fileExists(root / L"planted-was-loaded"));
        // Without "Pair Return Code" the launcher may end before the companion has written its record.
        waitUntil([&] { return !c.companionInstalled || readLines(root / L"companion.txt").size() == 2; }, 10000);
        std::vector<std::string> record = readLines(root / L"companion.txt");
        ASSERT_EQ(record.size(), c.companionInstalled ? 2u : 0u);
        EXPECT_TRUE(record.empty() || record[0].find("one") == std::string::npos) << "the arguments stay behind";
        EXPECT_TRUE(record.empty() || record[1] == narrow(work));
    }
}

} // namespace
