#include "VmOptions.h"

#include "runtime/RuntimeSelection.h"

void prepareLibraryPaths(Launcher& launcher) { publishRuntime(launcher.jvmPath); }

bool assembleVmOptions(Launcher&) { return false; }
