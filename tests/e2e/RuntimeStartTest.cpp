// Which runtime a start loads, and the hand-off of a 32-bit runtime to the companion launcher. The libraries here
// are empty files, so loading fails with message 222, which names the library that was tried.
#include "Installation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD failed = 0xFFFFFFFF;
const wchar_t* const runtimeSection = L"Java Runtime Environment";

struct Selection {
    const wchar_t* jvmType;            // "JVM Type", or null
    std::vector<const wchar_t*> files; // empty files made under the test's folder
    const wchar_t* loaded;             // the library tried, or null when none is found
};

// The launcher lives in root\App and is started in root\work.
void checkSelection(const Selection& c) {
    TempFolder root;
    Installation app(root / L"App");
    app.set(runtimeSection, L"Main Class", L"com.example.App");
    if (c.jvmType)
        app.set(runtimeSection, L"JVM Type", c.jvmType);
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
        EXPECT_NE(cancelRuntimeDialog(process->id()), L"(no dialog)") << "nothing was loaded: the user is asked";
    }
    EXPECT_TRUE(process->waitForExit(10000));
    EXPECT_EQ(process->exitCode(), failed);
}

// "JRE Path" starts every stand-in launch, and the registry's candidates are the unit tests' concern.
TEST(RuntimeSelectionStart, LocalRuntimeBesideTheLauncher) {
    const Selection cases[] = {
        // the executable's own folder is a runtime before its jre64 folder
        {nullptr,
         {L"App\\bin\\java.dll", L"App\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\java.dll",
          L"App\\jre64\\bin\\client\\jvm.dll"},
         L"App\\bin\\client\\jvm.dll"},
        {L"server",
         {L"App\\jre64\\bin\\java.dll", L"App\\jre64\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\server\\jvm.dll"},
         L"App\\jre64\\bin\\server\\jvm.dll"},
    };
    for (const Selection& c : cases)
        checkSelection(c);
}

TEST(RuntimeSelectionStart, NoRuntimeAndNoLibraryFromTheCurrentFolder) {
    if (RegistryFixture::machineHasRuntimes())
        GTEST_SKIP() << "this machine has Java runtimes registered";
    ScopedEnvironment noJavaHome(L"JAVA_HOME", L""); // the last place the launcher looks
    checkSelection({nullptr, {L"work\\bin\\client\\jvm.dll"}, nullptr});
}

struct HandOff {
    const wchar_t* pairReturnCode;
    bool companionInstalled;
    DWORD exitCode;
    bool viaRegistry; // the 32-bit runtime is registered in the registry's 32-bit view instead of named by "JRE Path"
};

// The companion (a probe) records its command line and folder and ends with 0x1234. A dbghelp.dll planted beside
// the launcher and in the current folder must not be the one loaded to read the runtime's image (Wine always
// takes its own, so there this shows only that the image is still recognised).
void checkHandOff(const HandOff& c) {
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
    app.set(runtimeSection, L"Main Class", L"com.example.App");
    app.set(L"Application", L"Pair Product", app.file(L"companion.exe"));
    app.set(L"Application", L"Pair Return Code", c.pairReturnCode);
    if (c.viaRegistry) {
        ASSERT_TRUE(registry.add(L"Software\\JavaSoft\\Java Runtime Environment", L"1.8", root / L"x86",
                                 RegistryFixture::wow32View));
    } else {
        app.set(runtimeSection, L"JRE Path", root / L"x86");
    }

    auto process = app.start(L"-nosplash one two", work);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), c.exitCode);
    EXPECT_FALSE(fileExists(root / L"planted-was-loaded"));
    if (!c.companionInstalled)
        return;
    // Without "Pair Return Code" the launcher may end before the companion has written its record.
    for (int i = 0; i < 100 && readLines(root / L"companion.txt").size() < 2; ++i)
        Sleep(100);
    std::vector<std::string> record = readLines(root / L"companion.txt");
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[0].find("one"), std::string::npos) << "the launcher's arguments are not passed on";
    EXPECT_EQ(record[1], narrow(work));
}

TEST(CompanionStart, ThirtyTwoBitRuntimeIsHandedOff) {
    const HandOff cases[] = {
        {L"", true, 0, false},
        {L"YES", true, 0x1234, false},
        {L"yes", false, failed, false}, // a companion that cannot be started is a failed start
    };
    for (const HandOff& c : cases)
        checkHandOff(c);
}

TEST(CompanionStart, OnlyRuntimeInTheThirtyTwoBitRegistryViewIsHandedOff) {
    if (RegistryFixture::machineHasRuntimes())
        GTEST_SKIP() << "this machine has Java runtimes registered";
    checkHandOff({L"yes", true, 0x1234, true});
}

} // namespace
