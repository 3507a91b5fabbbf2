#pragma once
// The hand-off to a companion launcher that can host a 32-bit runtime.
#include "Launcher.h"

// Starts the companion; its exit code when "Pair Return Code" asks for it, else 0.
uint32_t startCompanion(const Launcher& launcher);
