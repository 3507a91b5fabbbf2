// The console launcher started as a shell starts it, its standard output and error in files: what the GUI launcher
// shows in a window comes as lines on standard error (a box would keep it waiting until killed), Java's streams are
// the shell's, and the shell gets the whole exit code.
#include "RegistryFixture.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

namespace {

UniqueFileHandle inheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(ConsoleLauncher, MessagesAsLinesJavasStreamsAndTheWholeExitCodeReachTheShell) {
    const std::string noJava = "editor: The Java Runtime Environment (JRE) was not found. Please  download and install "
                               "a JRE (latest version) from: https://adoptium.net/\r\n";
    const struct {
        std::wstring script;
        Setting setting;
        DWORD exitCode;
        std::string out, err;
    } cases[] = {
        {L"",
         {jreSection, L"Main Class", L""},
         failedStart,
         "",
         "editor: Main class was not specified in INI file.\r\n"},
        {L"main=print:to out,eprint:to err,exit:305419896", {}, 0x12345678, "to out\r\n", "to err\r\n"},
        {L"main=throw:java/lang/IllegalStateException:bad",
         {L"Application", L"Failure Check", L"Yes"},
         failedStart,
         "",
         "java.lang.IllegalStateException: bad\r\n\tat Main.main(Main.java:1)\r\n"},
        {L"", {jreSection, L"JRE Path", L""}, failedStart, "", noJava},
    };
    for (const auto& c : cases) {
        if (c.err == noJava && RegistryFixture::machineHasRuntimes())
            continue; // a registered runtime would be found
        StandInLaunch launch(c.script, c.setting.section ? std::vector<Setting>{c.setting} : std::vector<Setting>{});
        ASSERT_TRUE(copyFile(testProgramFolder() + L"\\koruc.exe", launch.app().exePath()));
        TempFolder shell;
        {
            UniqueFileHandle out = inheritableFile(shell / L"out.txt"), err = inheritableFile(shell / L"err.txt");
            TestProcess process(launch.app().exePath(), L"editor", shell.path(), out.get(), err.get());
            EXPECT_TRUE(process.waitForExit(20000)) << narrow(c.script);
            EXPECT_EQ(process.exitCode(), c.exitCode) << narrow(c.script);
        }
        EXPECT_EQ(readBytes(shell / L"out.txt"), c.out) << narrow(c.script);
        EXPECT_EQ(readBytes(shell / L"err.txt"), c.err) << narrow(c.script);
    }
}

} // namespace
