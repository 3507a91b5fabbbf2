#pragma once
// Single-instance mode: later starts from the same executable path hand their arguments to the running instance
// and end with its reply. Service mode switches it off.
#include "Launcher.h"

// Settles this start's role: the first instance, a later start whose request the first instance has taken, or an
// ordinary start (single instance unavailable, or a block that is not to be trusted). A first instance that stops
// before it takes the request is left behind, and the role settled again. False only when a later start could not
// deliver its request (its arguments need more than 1,040 bytes, the first instance never took it, or kept ending).
// A later start gives its main thread a message queue before it posts its request, since the first instance's reply
// is posted to that thread; no other start needs a queue there, nor the window library it would load.
bool setupSingleInstance(Launcher& launcher);

// In a later start: the first instance's reply, or its exit code once it has ended without one. False when the
// first instance answered that the request never reached Java, as it was ending: the role is then settled again.
bool waitForFirstInstance(Launcher& launcher, uint32_t& result);

// Part of shutdown: stops the listener and releases the shared block.
void stopSingleInstance(Launcher& launcher);
