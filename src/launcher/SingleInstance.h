#pragma once
// Single-instance mode: later starts from the same executable path hand their arguments to the running instance
// and end with its reply. Service mode switches it off.
#include "Launcher.h"

// Settles this start's role. False only when a later start could not deliver its request (its arguments need
// more than 1,040 bytes, or the first instance never took the request). A later start gives its main thread a
// message queue before it posts its request, since the first instance's reply is posted to that thread; no other
// start needs a queue there, nor the window library it would load.
bool setupSingleInstance(Launcher& launcher);

// In a later start: the first instance's reply, or its exit code once it has ended without one.
uint32_t waitForFirstInstance(Launcher& launcher);

// Part of shutdown: stops the listener and releases the shared block.
void stopSingleInstance(Launcher& launcher);
