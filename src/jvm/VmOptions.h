#pragma once
// What the Java VM is given when it is created: the process environment and the option list.
#include "launcher/Launcher.h"

void prepareLibraryPaths(Launcher& launcher);
// False when the class path came out empty (after message 209) or the settings file path cannot be formed.
bool assembleVmOptions(Launcher& launcher);
