#pragma once
// Loading the chosen runtime library and creating the one Java VM of the launch.
#include "launcher/Launcher.h"

bool loadJavaVmLibrary(Launcher& launcher);
