#pragma once
// What the Java VM is given when it is created: the process environment and the option list.
#include "launcher/Launcher.h"

// %NAME% references expanded; undefined variables stay as written, and a text that cannot be expanded is kept.
std::wstring expandEnvironment(const std::wstring& text);

// KORU_JVM_PATH, KORU_JVM_HOME, the Path variable and the library path option; runs before the library is loaded.
void prepareLibraryPaths(Launcher& launcher);

// The class path, the configured parameters, the redirection targets and the "Cmd" arguments. False when the
// class path came out empty (after message 209) or the settings file path cannot be formed.
bool assembleVmOptions(Launcher& launcher);
