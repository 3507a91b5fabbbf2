#pragma once
// The hand-off to a companion launcher: the other build of this launcher, which can host a runtime of the width this
// one cannot load.
#include "Launcher.h"

// Starts the companion; its exit code when "Pair Return Code" asks for it, else 0.
uint32_t startCompanion(const Launcher& launcher);

// True when this process was started by a launcher's hand-off, which then ends with it. The mark is taken out of the
// environment at once, so that the application's own programs do not inherit it.
bool takeHandOffMark();
