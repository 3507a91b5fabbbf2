#pragma once
// The splash shown while the Java VM starts.
#include <string>

// The runtime's own splash library is closed through a routine it exports.
using SplashCloseRoutine = void(__cdecl*)();

struct SplashState {
    SplashCloseRoutine splashCloseRoutine = nullptr;
};

// False only when the settings file's path cannot be formed.
bool startSplash(SplashState& splash, const std::wstring& jvmPath);

// Ends the launcher's own splash window, if there is one; the Java main thread and shutdown both call it.
void closeSplash(SplashState& splash);

// Calls the runtime splash library's close routine once, if it was set.
void closeNativeSplash(SplashState& splash);
