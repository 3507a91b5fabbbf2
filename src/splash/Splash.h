#pragma once
// The splash shown while the Java VM starts: the launcher's own window on a thread of its own, or the Java
// runtime's splash library when the settings prefer it and the runtime has one.
#include "NativeSplash.h"
#include "support/UniqueResource.h"

#include <memory>
#include <string>

class SplashWindow;

// The splash settings and what runs the splash. Written by the thread that starts and closes the splash; the
// splash thread reads the settings and the window object, which exist before it starts and until it has ended.
struct SplashState {
    SplashState();
    ~SplashState();
    SplashState(const SplashState&) = delete;
    SplashState& operator=(const SplashState&) = delete;

    std::wstring splashImagePath;   // "Splash Screen", as written
    std::wstring splashShadowValue; // "Splash Screen Shadow": exactly "true" casts a shadow
    std::unique_ptr<SplashWindow> splashWindow;
    UniqueHandle splashThread;
    DWORD splashThreadId = 0;
    // The native library's SplashClose, called once (at a failed start or at shutdown) and then forgotten.
    SplashCloseRoutine splashCloseRoutine = nullptr;
};

// Reads the splash settings afresh and starts the splash, if one is configured; does not wait for the window.
// False only when the settings file's path cannot be formed.
bool startSplash(SplashState& splash, const std::wstring& jvmPath);

// Ends the launcher's own splash window and its thread, if there is one; the Java main thread (when main
// returns) and shutdown both call it, and the second call finds nothing.
void closeSplash(SplashState& splash);

// Calls the runtime splash library's close routine once, if it was set.
void closeNativeSplash(SplashState& splash);
