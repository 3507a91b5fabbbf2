// The hand-off of a 32-bit runtime to the companion launcher, with a stand-in companion that records how it
// was started.
#include "Installation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "UiAutomation.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {

class CompanionStart : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
        installJvmLibrary(runtimes / L"x86", L"client", x86FixtureLibraryPath());
        copyFile(companionProbePath(), app.file(L"companion.exe"));
        createFolders(workFolder);
    }

    void writeSettings(const std::wstring& extra, bool withJrePath = true) {
        std::wstring text = L"[Application]\r\nPair Product=" + app.file(L"companion.exe") + L"\r\n" + extra +
                            L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";
        if (withJrePath)
            text += L"JRE Path=" + runtimes.path() + L"\\x86\r\n";
        app.writeSettings(text);
    }

    // The companion's record: its command line and its current folder; empty until it has run.
    std::vector<std::wstring> waitForRecord() {
        for (int i = 0; i < 100 && !fileExists(recordPath); ++i)
            Sleep(100);
        Sleep(100); // the companion writes the whole record at once, before it ends
        std::wstring text = readUtf8File(recordPath);
        std::vector<std::wstring> lines;
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    static int argumentCount(const std::wstring& commandLine) {
        int count = 0;
        LocalFree(CommandLineToArgvW(commandLine.c_str(), &count));
        return count;
    }

    TempFolder runtimes;
    Installation app;
    std::wstring workFolder = runtimes / L"work";
    std::wstring recordPath = runtimes / L"record.txt";
    ScopedEnvironment recordVariable{L"KORU_TEST_COMPANION_RECORD", recordPath};
    ScopedEnvironment exitVariable{L"KORU_TEST_COMPANION_EXIT", L"0x1234"};
    RegistryFixture registry;
};

TEST_F(CompanionStart, StartedWithoutArgumentsAndNotWaitedFor) {
    writeSettings(L"");
    auto process = app.start(L"-nosplash one two", workFolder);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0u);
    std::vector<std::wstring> record = waitForRecord();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(argumentCount(record[0]), 1) << narrow(record[0]);
    EXPECT_EQ(record[0].find(L"one"), std::wstring::npos);
    EXPECT_EQ(record[1], workFolder);
}

TEST_F(CompanionStart, PairReturnCodePassesTheCompanionsCodeOn) {
    writeSettings(L"Pair Return Code=YES\r\n");
    auto process = app.start(L"-nosplash", workFolder);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0x1234u);
    EXPECT_EQ(waitForRecord().size(), 2u);
}

// Windows searches the application's folder before the system folder for a library named without a path, so a
// helper library loaded by its bare name would be this planted copy. (Wine prefers its own built-in copy of this
// library, so there the test can only show that the image is still recognised.)
TEST_F(CompanionStart, NoLibraryBesideTheLauncherIsLoadedToReadTheImage) {
    copyFile(plantedHelperLibraryPath(), app.file(L"dbghelp.dll"));
    copyFile(plantedHelperLibraryPath(), workFolder + L"\\dbghelp.dll");
    std::wstring mark = runtimes / L"planted-was-loaded";
    ScopedEnvironment markVariable(L"KORU_TEST_PLANTED_MARK", mark);
    writeSettings(L"Pair Return Code=yes\r\n");
    auto process = app.start(L"-nosplash", workFolder);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0x1234u) << "the 32-bit runtime was still recognised";
    EXPECT_FALSE(fileExists(mark));
}

TEST_F(CompanionStart, MissingCompanionIsAFailedStart) {
    ASSERT_TRUE(DeleteFileW(app.file(L"companion.exe").c_str()));
    for (const wchar_t* extra : {L"", L"Pair Return Code=yes\r\n"}) {
        writeSettings(extra);
        auto process = app.start(L"-nosplash", workFolder);
        ASSERT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu) << narrow(extra);
        EXPECT_TRUE(windowsOf(process->id()).empty());
    }
}

TEST_F(CompanionStart, ThirtyTwoBitRegistryViewHandsOff) {
    ASSERT_TRUE(registry.add(L"Software\\JavaSoft\\Java Runtime Environment", L"1.8.0_251", runtimes / L"x86",
                             RegistryFixture::wow32View));
    writeSettings(L"Pair Return Code=yes\r\n", false);
    auto process = app.start(L"-nosplash", workFolder);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0x1234u);
    EXPECT_EQ(waitForRecord().size(), 2u);
}

TEST_F(CompanionStart, NoCompanionNoThirtyTwoBitView) {
    ASSERT_TRUE(registry.add(L"Software\\JavaSoft\\Java Runtime Environment", L"1.8.0_251", runtimes / L"x86",
                             RegistryFixture::wow32View));
    app.writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n");
    auto process = app.start(L"-nosplash", workFolder);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
    EXPECT_FALSE(fileExists(recordPath));
    EXPECT_TRUE(windowsOf(process->id()).empty());
}

} // namespace
