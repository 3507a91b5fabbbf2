#pragma once
// The first instance's side of forwarded starts: the listener thread, which copies each request's arguments
// out of the shared block, and one request thread per request, which hands them to secondaryMain.
#include "Launcher.h"

// Starts the listener, its id stored in the block, and returns once its message queue exists, so that a request
// posted from then on is not refused. False when the thread cannot be started.
bool startListener(Launcher& launcher);

// Posts WM_QUIT until the listener has ended, waiting on it between posts. False when it has not ended within a
// few seconds: the block must then stay mapped.
bool stopListener(Launcher& launcher);
