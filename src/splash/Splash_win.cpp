#include "Splash.h"

#include "support/SettingsFile.h"

// The splash window is not offered yet: a start behaves as one whose splash thread could not be started.
bool startSplash(SplashState&, const std::wstring&) {
    std::wstring path;
    return settingsFilePath(path);
}

void closeSplash(SplashState&) {}

void closeNativeSplash(SplashState& splash) {
    SplashCloseRoutine close = splash.splashCloseRoutine;
    splash.splashCloseRoutine = nullptr;
    if (close)
        close();
}
