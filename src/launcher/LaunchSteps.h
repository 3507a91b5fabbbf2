#pragma once
// Small steps of the launcher's initialisation that belong to no other subsystem.
#include "CommandLine.h"
#include "Launcher.h"

// Fills appArguments from the process command line.
void captureCommandLine(Launcher& launcher);

// Makes the executable's folder the current directory ("Override WorkingDir").
void overrideWorkingDirectory();
