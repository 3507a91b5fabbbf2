// A step that throws fails as a whole; running out of memory is told to the user first.
#include "UiAutomation.h"
#include "support/ExceptionGuard.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

namespace {

std::future<std::wstring> dismissOwnBox(DWORD timeoutMs) {
    return std::async(std::launch::async, [timeoutMs] { return dismissMessageBox(GetCurrentProcessId(), timeoutMs); });
}

TEST(GuardedStep, RunningOutOfMemoryIsToldAndFailsTheStep) {
    auto box = dismissOwnBox(10000);
    EXPECT_EQ(guardedStep(-1, []() -> int { throw std::bad_alloc(); }), -1);
    EXPECT_EQ(box.get(), L"Windows exception: not enough memory (errno = 8).\n");

    box = dismissOwnBox(500);
    EXPECT_EQ(guardedStep(-1, []() -> int { throw std::length_error("too long"); }), -1);
    EXPECT_EQ(box.get(), L"(no message box)") << "a cause that cannot be named is not told";
    EXPECT_EQ(guardedStep(-1, [] { return 7; }), 7);
}

} // namespace
