#pragma once
// The owner of every error box: the launcher's own splash window once its thread has created it, else none.
// A single word, written once by the splash thread and read by whichever thread reports an error.
#include <windows.h>

#include <atomic>

extern std::atomic<HWND> splashWindowHandle;

inline HWND errorOwner() { return splashWindowHandle.load(); }
