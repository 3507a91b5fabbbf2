// The "Java Exception" dialog that shows an exception escaping main when "Failure Check" is set: what the user
// sees, what the answers do, and how the dialog keeps its controls in place when it is resized.
#include "UiAutomation.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int traceBox = 208;

// Latin, CJK and a character outside the basic plane: none of them may be lost on the way from Java. The message's
// own line break is a line feed alone, which the box shows as a break only once it is CR LF.
const std::wstring message = L"bad \x00FC\x4E2D\n\xD835\xDD38";

// A start whose main throws after starting a thread that lives on for a second, with "Failure Check" set.
struct JavaExceptionStart {
    StandInLaunch launch{L"main=linger:1000,throw:java/lang/IllegalStateException:" + message,
                         {{L"Application", L"Failure Check", L"Yes"}}};
    std::unique_ptr<TestProcess> process = launch.start();
    HWND dialog = waitForDialog(process->id(), L"Java Exception");
};

TEST(JavaExceptionDialog, TheTraceUnchangedThenIgnoreGoesOnAndStopEscapeOrTheCloseBoxEnd) {
    const std::pair<void (*)(HWND), DWORD> answers[] = {
        {[](HWND dialog) { pressKey(dialog, VK_RETURN); }, 0},
        {[](HWND dialog) { pressKey(dialog, VK_ESCAPE); }, failedStart},
        {pressCloseBox, failedStart},
    };
    for (size_t i = 0; i < std::size(answers); ++i) {
        JavaExceptionStart start;
        ASSERT_TRUE(start.dialog) << i;
        EXPECT_EQ(
            controlText(start.dialog, traceBox),
            L"java.lang.IllegalStateException: bad \x00FC\x4E2D\r\n\xD835\xDD38\r\n\tat Main.main(Main.java:1)\r\n");
        EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(start.dialog, traceBox), GWL_STYLE) & ES_READONLY);
        answers[i].first(start.dialog);
        EXPECT_EQ(start.process->exitCodeAfterWait(), answers[i].second) << i;
        StandInRecord record = start.launch.record();
        bool stopped = answers[i].second == failedStart;
        EXPECT_EQ(record.has("exit"), stopped) << "Stop goes through System.exit: " << i;
        EXPECT_TRUE(stopped || record.has("thread.ended")) << "after Ignore the application's thread ran on: " << i;
        EXPECT_FALSE(record.has("uncaught")) << "the launcher took the exception: " << i;
    }
}

TEST(JavaExceptionDialog, ResizingKeepsTheButtonsBottomRightAndStretchesTheTrace) {
    JavaExceptionStart start;
    HWND dialog = start.dialog;
    ASSERT_TRUE(dialog);
    const int ids[] = {IDOK, IDCANCEL, 208, 209, 210, 211, 212};
    // How far each edge (left, top, right, bottom) moves when the dialog grows by 100 x 60 pixels.
    const std::array<LONG, 4> moves[] = {
        {100, 60, 100, 60}, {100, 60, 100, 60}, // Ignore, Stop
        {0, 0, 100, 60},    {0, 0, 100, 60},    // the trace, the group box
        {0, 0, 100, 0},                         // the heading
        {0, 60, 100, 60},   {0, 60, 100, 60},   // the instruction, the warning
    };
    std::vector<RECT> before;
    for (int id : ids)
        before.push_back(controlRect(dialog, id));
    RECT window;
    GetWindowRect(dialog, &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    SetWindowPos(dialog, nullptr, 0, 0, width + 100, height + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return controlRect(dialog, IDOK).left == before[0].left + 100; }));
    for (size_t i = 0; i < before.size(); ++i) {
        RECT a = controlRect(dialog, ids[i]), b = before[i];
        EXPECT_EQ((std::array<LONG, 4>{a.left - b.left, a.top - b.top, a.right - b.right, a.bottom - b.bottom}),
                  moves[i])
            << ids[i];
    }
    MINMAXINFO limits = {};
    SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, width) << "never smaller than it first appeared";
    EXPECT_EQ(limits.ptMinTrackSize.y, height);

    HWND grip = GetDlgItem(dialog, 0xE801);
    ASSERT_TRUE(grip && IsWindowVisible(grip));
    ShowWindow(dialog, SW_MAXIMIZE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(grip); })) << "a maximised dialog has no grip";
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(grip) != FALSE; }));
    pressButton(dialog, IDCANCEL);
    EXPECT_EQ(start.process->exitCodeAfterWait(), failedStart);
}

} // namespace
