#pragma once
// The Java main thread: it creates the VM, calls main and ends with the result the run step turns into an exit code.
#include "launcher/Launcher.h"

uint32_t runJavaMainThread(Launcher& launcher);
