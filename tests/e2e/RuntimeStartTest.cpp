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
const wchar_t* const sunJreKey = L"Software\\JavaSoft\\Java Runtime Environment";

std::wstring withRoot(std::wstring text, const std::wstring& root) {
    size_t at = text.find(L"{root}");
    return at == std::wstring::npos ? text : text.replace(at, 6, root);
}

struct Selection {
    const wchar_t* key; // a "Java Runtime Environment" setting, or null; {root} stands for the test's folder
    const wchar_t* value;
    std::vector<const wchar_t*> files; // empty files made under the test's folder
    const wchar_t* registered;         // a folder registered as a Sun JRE 1.8.0_251, or null
    const wchar_t* loaded;             // the library tried, or null when no runtime is found
};

// The launcher lives in root\App and is started in root\work.
void checkSelection(const Selection& c) {
    TempFolder root;
    RegistryFixture registry;
    Installation app(root / L"App");
    app.set(runtimeSection, L"Main Class", L"com.example.App");
    if (c.key) app.set(runtimeSection, c.key, withRoot(c.value, root.path()));
    if (c.registered) {
        ASSERT_TRUE(registry.add(sunJreKey, L"1.8.0_251", root / c.registered));
    }
    for (const std::wstring file : c.files) {
        createFolders(root / file.substr(0, file.rfind(L'\\')));
        writeBytes(root / file, "");
    }
    createFolders(root / L"work");
    auto process = app.start(L"-nosplash", root / L"work");
    if (c.loaded) {
        std::wstring expected = L"Failed to load Java VM library: " + root / c.loaded + L" (errno = ";
        EXPECT_EQ(dismissMessageBox(process->id()).substr(0, expected.size()), expected);
    }
    EXPECT_TRUE(process->waitForExit(10000));
    EXPECT_EQ(process->exitCode(), failed);
}

TEST(RuntimeSelectionStart, ConfiguredAndLocalRuntimes) {
    const Selection cases[] = {
        {L"JRE Path",
         L"{root}\\Java\\jre",
         {L"Java\\jre\\bin\\client\\jvm.dll"},
         nullptr,
         L"Java\\jre\\bin\\client\\jvm.dll"},
        // the executable's own folder is a runtime before its jre64 folder
        {nullptr,
         nullptr,
         {L"App\\bin\\java.dll", L"App\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\java.dll",
          L"App\\jre64\\bin\\client\\jvm.dll"},
         nullptr,
         L"App\\bin\\client\\jvm.dll"},
        {L"JVM Type",
         L"server",
         {L"App\\jre64\\bin\\java.dll", L"App\\jre64\\bin\\client\\jvm.dll", L"App\\jre64\\bin\\server\\jvm.dll"},
         nullptr,
         L"App\\jre64\\bin\\server\\jvm.dll"},
    };
    for (const Selection& c : cases)
        checkSelection(c);
}

// Only these cases depend on what the machine has registered.
TEST(RuntimeSelectionStart, RegisteredRuntimesAndNone) {
    if (RegistryFixture::machineHasRuntimes()) GTEST_SKIP() << "this machine has Java runtimes registered";
    const Selection cases[] = {
        {nullptr, nullptr, {L"Java\\jre8\\bin\\client\\jvm.dll"}, L"Java\\jre8", L"Java\\jre8\\bin\\client\\jvm.dll"},
        // with no runtime anywhere, no library is tried in the current folder
        {nullptr, nullptr, {L"work\\bin\\client\\jvm.dll"}, nullptr, nullptr},
    };
    for (const Selection& c : cases)
        checkSelection(c);
}

struct HandOff {
    const wchar_t* pairReturnCode;
    bool viaRegistry; // the 32-bit runtime is found in the registry's 32-bit view, not through "JRE Path"
    bool companionInstalled;
    DWORD exitCode;
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
    if (c.companionInstalled) copyFile(companionProbePath(), app.file(L"companion.exe"));
    for (const std::wstring& folder : {app.folder(), work})
        copyFile(plantedHelperLibraryPath(), folder + L"\\dbghelp.dll");
    ScopedEnvironment mark(L"KORU_TEST_PLANTED_MARK", root / L"planted-was-loaded");
    ScopedEnvironment companionRecord(L"KORU_TEST_COMPANION_RECORD", root / L"companion.txt");
    ScopedEnvironment companionExit(L"KORU_TEST_COMPANION_EXIT", L"0x1234");
    app.set(runtimeSection, L"Main Class", L"com.example.App");
    app.set(L"Application", L"Pair Product", app.file(L"companion.exe"));
    app.set(L"Application", L"Pair Return Code", c.pairReturnCode);
    if (c.viaRegistry) {
        ASSERT_TRUE(registry.add(sunJreKey, L"1.8.0_251", root / L"x86", RegistryFixture::wow32View));
    } else {
        app.set(runtimeSection, L"JRE Path", root / L"x86");
    }

    auto process = app.start(L"-nosplash one two", work);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), c.exitCode);
    EXPECT_TRUE(windowsOf(process->id()).empty());
    EXPECT_FALSE(fileExists(root / L"planted-was-loaded"));
    if (!c.companionInstalled) return;
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
        {L"", false, true, 0},
        {L"YES", false, true, 0x1234},
        {L"yes", false, false, failed}, // a companion that cannot be started is a failed start
    };
    for (const HandOff& c : cases)
        checkHandOff(c);
}

TEST(CompanionStart, ThirtyTwoBitRegistryViewHandsOff) {
    if (RegistryFixture::machineHasRuntimes()) GTEST_SKIP() << "this machine has Java runtimes registered";
    checkHandOff({L"yes", true, true, 0x1234});
}

} // namespace
