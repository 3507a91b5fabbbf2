#pragma once
// The hand-off to a companion launcher that can host a 32-bit runtime.
#include "Launcher.h"

// Sets handOff when a companion is configured and jvmPath names a 32-bit x86 image.
void checkJvmImage(Launcher& launcher);

// Starts the companion; its exit code when "Pair Return Code" asks for it, else 0.
uint32_t startCompanion(Launcher& launcher);
