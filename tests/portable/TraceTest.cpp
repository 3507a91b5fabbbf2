// The VM's exit hook runs on the VM's own thread while every Java thread waits: it never waits for the trace file.
#include "jvm/VmCreation.h"
#include "support/Trace.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

TEST(Trace, TheVmsExitHookDoesNotWaitForTheFile) {
    static std::promise<void> forever; // a write that never ends
    static std::promise<void> hookReturned;
    setTraceSink([](const std::wstring&) { forever.get_future().wait(); });
    std::thread([] {
        exitHook(7);
        hookReturned.set_value();
    }).detach();
    EXPECT_EQ(hookReturned.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    setTraceSink(nullptr);
}

} // namespace
