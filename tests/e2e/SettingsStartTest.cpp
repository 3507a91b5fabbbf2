// Starts that end while the settings file is read.
#include "Installation.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const noMainClass = L"Main class was not specified in INI file.";

// Reads the one error box the launcher shows, checks it has no owner, and dismisses it.
std::wstring dismissOwnerlessErrorBox(TestProcess& process) {
    HWND owner = reinterpret_cast<HWND>(1);
    std::wstring text = dismissMessageBox(process.id(), &owner);
    EXPECT_EQ(owner, nullptr);
    return text;
}

TEST(SettingsStart, MissingSettingsFileStopsWithTheMainClassError) {
    Installation app;
    auto process = app.start();
    ASSERT_TRUE(process->started());
    EXPECT_EQ(dismissOwnerlessErrorBox(*process), noMainClass);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
}

TEST(SettingsStart, EmptyMainClassStopsWithTheMainClassError) {
    Installation app;
    app.writeSettings(L"[Java Runtime Environment]\r\nMain Class=\r\n[Class Path]\r\nClass Path=app.jar\r\n");
    auto process = app.start(L"-nosplash");
    ASSERT_TRUE(process->started());
    EXPECT_EQ(dismissOwnerlessErrorBox(*process), noMainClass);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
}

TEST(SettingsStart, MainClassInThePlusSectionAloneCounts) {
    Installation app;
    app.writeSettings(L"[Java Runtime Environment+]\r\nMain Class=com.example.App\r\n");
    auto process = app.start();
    ASSERT_TRUE(process->waitForExit());
    // No runtime exists here, so the start ends after the settings were accepted, without the main class error.
    EXPECT_TRUE(windowsOf(process->id()).empty());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
}

TEST(SettingsStart, BuiltInSettingsSupplyTheMainClass) {
    Installation app;
    ASSERT_TRUE(app.stampBuiltInSettings("[Java Runtime Environment]\r\nMain Class=builtin.Main\r\n"));
    auto process = app.start();
    ASSERT_TRUE(process->waitForExit());
    EXPECT_TRUE(windowsOf(process->id()).empty());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
}

} // namespace
