// The "Java Exception" dialog that shows an exception escaping main when "Failure Check" is set: what the user
// sees, what the answers do, and how the dialog keeps its controls in place when it is resized.
#include "DialogAutomation.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int traceBox = 208;
constexpr int sizeGrip = 0xE801;
constexpr DWORD failed = 0xFFFFFFFF;

// Latin, CJK and a character outside the basic plane: none of them may be lost on the way from Java.
const std::wstring message = L"bad \x00FC\x4E2D \xD835\xDD38";

// A start whose main throws after starting a thread that lives on for a while, with "Failure Check" set.
class JavaExceptionStart {
public:
    JavaExceptionStart() : launch_(L"main=linger:1000,throw:java/lang/IllegalStateException:" + message) {
        launch_.app().set(L"Application", L"Failure Check", L"Yes");
        process_ = launch_.start();
        dialog_ = waitForDialog(process_->id(), L"Java Exception");
    }
    HWND dialog() const { return dialog_; }
    // The exit code once the process has ended; 0xDEAD when it had to be killed.
    DWORD exitCode() const {
        process_->waitForExit();
        return process_->exitCode();
    }
    StandInRecord record() const { return launch_.record(); }

private:
    StandInLaunch launch_;
    std::unique_ptr<TestProcess> process_;
    HWND dialog_ = nullptr;
};

RECT windowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The dialog answers in its own time; this waits, within a bound, until it has.
bool waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i)
        Sleep(20);
    return done();
}

TEST(JavaExceptionDialog, ShowsTheTraceUnchangedAndIgnoreLetsTheApplicationGoOn) {
    JavaExceptionStart start;
    ASSERT_TRUE(start.dialog());
    EXPECT_EQ(controlText(start.dialog(), traceBox),
              L"java.lang.IllegalStateException: " + message + L"\r\n\tat Main.main(Main.java:1)\r\n");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(start.dialog(), traceBox), GWL_STYLE) & ES_READONLY);
    pressButton(start.dialog(), IDOK);
    EXPECT_EQ(start.exitCode(), 0u);
    StandInRecord record = start.record();
    EXPECT_TRUE(record.has("thread.ended")) << "the application's other thread ran to its end";
    EXPECT_FALSE(record.has("exit"));
    EXPECT_FALSE(record.has("uncaught")) << "the launcher took the exception";
}

TEST(JavaExceptionDialog, StopEscapeAndTheCloseBoxEndTheProcessEnterIgnores) {
    const std::pair<void (*)(HWND), DWORD> answers[] = {
        {[](HWND dialog) { pressButton(dialog, IDCANCEL); }, failed},
        {[](HWND dialog) { pressKey(dialog, VK_ESCAPE); }, failed},
        {pressCloseBox, failed},
        {[](HWND dialog) { pressKey(dialog, VK_RETURN); }, 0},
    };
    int answer = 0;
    for (const auto& a : answers) {
        JavaExceptionStart start;
        ASSERT_TRUE(start.dialog()) << answer;
        a.first(start.dialog());
        EXPECT_EQ(start.exitCode(), a.second) << answer;
        EXPECT_EQ(start.record().has("exit"), a.second == failed) << "Stop goes through System.exit: " << answer++;
    }
}

TEST(JavaExceptionDialog, ResizingKeepsTheButtonsBottomRightAndStretchesTheTrace) {
    JavaExceptionStart start;
    HWND dialog = start.dialog();
    ASSERT_TRUE(dialog);
    const int ids[] = {IDOK, IDCANCEL, 208, 209, 210, 211, 212};
    std::vector<RECT> before;
    for (int id : ids)
        before.push_back(controlRect(dialog, id));
    RECT window = windowRect(dialog);
    int width = window.right - window.left, height = window.bottom - window.top;

    SetWindowPos(dialog, nullptr, 0, 0, width + 100, height + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return controlRect(dialog, IDOK).left == before[0].left + 100; }));
    // (dx, dy) of each edge: left, top, right, bottom.
    const int moves[][4] = {
        {100, 60, 100, 60}, {100, 60, 100, 60}, // Ignore, Stop
        {0, 0, 100, 60},    {0, 0, 100, 60},    // the trace, the group box
        {0, 0, 100, 0},                         // the heading
        {0, 60, 100, 60},   {0, 60, 100, 60},   // the instruction, the warning
    };
    for (size_t i = 0; i < before.size(); ++i) {
        RECT after = controlRect(dialog, ids[i]);
        EXPECT_EQ(after.left - before[i].left, moves[i][0]) << ids[i];
        EXPECT_EQ(after.top - before[i].top, moves[i][1]) << ids[i];
        EXPECT_EQ(after.right - before[i].right, moves[i][2]) << ids[i];
        EXPECT_EQ(after.bottom - before[i].bottom, moves[i][3]) << ids[i];
    }

    MINMAXINFO limits = {};
    SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, width) << "never smaller than it first appeared";
    EXPECT_EQ(limits.ptMinTrackSize.y, height);

    HWND grip = GetDlgItem(dialog, sizeGrip);
    ASSERT_TRUE(grip);
    EXPECT_TRUE(IsWindowVisible(grip));
    ShowWindow(dialog, SW_MAXIMIZE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(grip); })) << "a maximised dialog has no grip";
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(grip) != FALSE; })) << "restored, the grip is back";
    pressButton(dialog, IDCANCEL);
    EXPECT_EQ(start.exitCode(), failed);
}

} // namespace
