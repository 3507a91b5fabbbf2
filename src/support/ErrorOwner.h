#pragma once
// The owner of every error box: the launcher's own splash window while it is on screen, else none. A box raised
// while the splash thread is still making its window waits a moment for it, or withdraws the splash, so that no
// splash shown later can cover a box; a window that has gone is never an owner.
#include <windows.h>

// Main thread, before the splash thread starts: a splash window is on its way.
void splashWindowPending();
// Splash thread, once its window exists and before it is shown: false when a box has withdrawn the splash
// meanwhile, and then the window is not to be shown.
bool publishSplashWindow(HWND window);
// The window could not be made, or it is being destroyed.
void splashWindowGone();

// The owner for a box raised now; waits at most a few seconds for a splash window on its way.
HWND errorOwner() noexcept;
