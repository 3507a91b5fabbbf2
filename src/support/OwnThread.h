#pragma once
// Work that a caller must not be held up by: it runs on a thread of its own, and the caller waits for it only so long.
// Portable interface: OwnThread_win.cpp on Windows, OwnThread_posix.cpp elsewhere.
#include <functional>

// Runs `work` on a new thread and returns when it is done or after `waitMs` milliseconds, whichever comes first; the
// work then goes on alone. Without a thread it is not done at all.
void runOnOwnThread(std::function<void()> work, unsigned waitMs);
