#pragma once
// Single-instance mode: later starts hand their arguments to the running instance and end with its reply.
#include "Launcher.h"

// False only when a second instance could not deliver its request.
bool setupSingleInstance(Launcher& launcher);
uint32_t waitForFirstInstance(Launcher& launcher);
// Stops the listener and releases the shared block (part of shutdown).
void stopSingleInstance(Launcher& launcher);
