#include "ErrorOwner.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

enum class SplashStage { None, Pending, Shown, Withdrawn };

// Written by the main thread and the splash thread, read by whichever thread reports an error.
std::mutex lock;
std::condition_variable changed;
SplashStage stage = SplashStage::None;
HWND splashWindowHandle = nullptr;

// Far more than decoding the largest image the splash accepts takes; past it the box goes first, and alone.
constexpr std::chrono::seconds pendingWait(5);

void setStage(SplashStage next, HWND window) {
    {
        std::lock_guard<std::mutex> guard(lock);
        stage = next;
        splashWindowHandle = window;
    }
    changed.notify_all();
}

} // namespace

void splashWindowPending() { setStage(SplashStage::Pending, nullptr); }

void splashWindowGone() { setStage(SplashStage::None, nullptr); }

bool publishSplashWindow(HWND window) {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (stage != SplashStage::Pending)
            return false;
        stage = SplashStage::Shown;
        splashWindowHandle = window;
    }
    changed.notify_all();
    return true;
}

HWND errorOwner() noexcept {
    try {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait_for(guard, pendingWait, [] { return stage != SplashStage::Pending; });
        if (stage == SplashStage::Pending)
            stage = SplashStage::Withdrawn;
        return stage == SplashStage::Shown && IsWindow(splashWindowHandle) ? splashWindowHandle : nullptr;
    } catch (...) {
        return nullptr;
    }
}
