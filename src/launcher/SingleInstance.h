#pragma once
// Single-instance mode: later starts hand their arguments to the running instance and end with its reply.
#include "Launcher.h"

// False only when a second instance could not deliver its request. A second instance gives its main thread a
// message queue (DefWindowProcW(nullptr, WM_NULL, 0, 0)) before it posts its request, since the first instance's
// reply is posted to that thread; no other start needs a queue there, nor the window library it would load.
bool setupSingleInstance(Launcher& launcher);
uint32_t waitForFirstInstance(Launcher& launcher);
// Stops the listener and releases the shared block (part of shutdown).
void stopSingleInstance(Launcher& launcher);
