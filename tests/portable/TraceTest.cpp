// What reaches the trace file: one line per call, whatever the values traced hold, and never at the cost of
// the VM's exit.
#include "jvm/VmCreation.h"
#include "support/Trace.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

namespace {

std::mutex lock;
std::condition_variable released;
bool stuck = false; // while set, the sink does not return: a trace file whose writes never end
std::vector<std::wstring> lines;

void sink(const std::wstring& text) {
    std::unique_lock<std::mutex> guard(lock);
    lines.push_back(text);
    released.wait(guard, [] { return !stuck; });
}

// A value cannot forge a line: line breaks and other control characters arrive escaped.
TEST(Trace, ControlCharactersInValuesAreEscaped) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\a b\\x", L"C:\\a b\\x"},
        {L"a\r\nend: exit code 0", L"a\\u000D\\u000Aend: exit code 0"},
        {std::wstring(L"\0\t\x1B\x7F", 4), L"\\u0000\\u0009\\u001B\\u007F"},
        {L"\x85\x2028\x2029\xE9", L"\\u0085\\u2028\\u2029\xE9"},
    };
    setTraceSink(sink);
    for (const auto& c : cases) {
        lines.clear();
        trace([&] { return c.first; });
        EXPECT_EQ(lines, std::vector<std::wstring>{c.second});
    }
    setTraceSink(nullptr);
}

// The hook runs on the VM's thread while every Java thread waits: it hands its line on and does not wait for it.
TEST(Trace, TheVmsExitHookDoesNotWaitForTheFile) {
    lines.clear();
    stuck = true;
    setTraceSink(sink);
    auto hook = std::async(std::launch::async, [] { exitHook(7); });
    bool returned = hook.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    {
        std::lock_guard<std::mutex> guard(lock);
        stuck = false;
    }
    released.notify_all();
    hook.wait();
    EXPECT_TRUE(returned);
    std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(lines, std::vector<std::wstring>{L"end: Java ends the process with System.exit(7)"});
    setTraceSink(nullptr);
}

} // namespace
