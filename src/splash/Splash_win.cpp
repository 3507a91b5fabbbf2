#include "Splash.h"

#include "launcher/SettingsFile.h"

// The splash window is not offered yet: a start behaves as one whose splash thread could not be started.
bool startSplash(Launcher&) {
    std::wstring path;
    return settingsFilePath(path);
}

void closeSplash(Launcher& launcher) { launcher.splashWindow.reset(); }
