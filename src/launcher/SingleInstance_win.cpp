#include "SingleInstance.h"

// Single-instance mode is not offered yet: every start runs as an ordinary instance, which is also what
// happens when the shared block cannot be set up.
bool setupSingleInstance(Launcher& launcher) {
    launcher.singleInstance = false;
    return true;
}

uint32_t waitForFirstInstance(Launcher&) { return 0; }

void stopSingleInstance(Launcher&) {}
