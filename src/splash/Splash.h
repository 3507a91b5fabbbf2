#pragma once
// The splash shown while the Java VM starts.
#include "launcher/Launcher.h"

// False only when the settings file's path cannot be formed.
bool startSplash(Launcher& launcher);
// Ends the launcher's own splash window, if there is one.
void closeSplash(Launcher& launcher);

// The launcher's own splash window; it holds nothing until the splash window is offered.
class SplashWindow {};
