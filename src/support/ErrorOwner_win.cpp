#include "ErrorOwner.h"

namespace {

enum class SplashStage { None, Pending, Shown, Withdrawn };

// Written by the main thread and the splash thread, read by whichever thread reports an error. Windows' own lock and
// condition, which need no threads library in the exe.
SRWLOCK lock = SRWLOCK_INIT;
CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
SplashStage stage = SplashStage::None;
HWND splashWindowHandle = nullptr;

// Far more than decoding the largest image the splash accepts takes; past it the box goes first, and alone.
constexpr ULONGLONG pendingWaitMs = 5000;

struct ExclusiveLock {
    ExclusiveLock() { AcquireSRWLockExclusive(&lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
};

void setStage(SplashStage next, HWND window) {
    {
        ExclusiveLock hold;
        stage = next;
        splashWindowHandle = window;
    }
    WakeAllConditionVariable(&changed);
}

} // namespace

void splashWindowPending() { setStage(SplashStage::Pending, nullptr); }

void splashWindowGone() { setStage(SplashStage::None, nullptr); }

bool publishSplashWindow(HWND window) {
    {
        ExclusiveLock hold;
        if (stage != SplashStage::Pending)
            return false;
        stage = SplashStage::Shown;
        splashWindowHandle = window;
    }
    WakeAllConditionVariable(&changed);
    return true;
}

HWND errorOwner() noexcept {
    ExclusiveLock hold;
    ULONGLONG deadline = GetTickCount64() + pendingWaitMs;
    for (ULONGLONG now = GetTickCount64(); stage == SplashStage::Pending && now < deadline; now = GetTickCount64())
        SleepConditionVariableSRW(&changed, &lock, static_cast<DWORD>(deadline - now), 0);
    if (stage == SplashStage::Pending)
        stage = SplashStage::Withdrawn;
    return stage == SplashStage::Shown && IsWindow(splashWindowHandle) ? splashWindowHandle : nullptr;
}
