#pragma once
// Small steps of the launcher's initialisation that belong to no other subsystem.
#include "CommandLine.h"
#include "Launcher.h"

// Fills appArguments from the process command line.
void captureCommandLine(Launcher& launcher);

// Makes the executable's folder the current directory ("Override WorkingDir").
void overrideWorkingDirectory();

// The "JRE Not Found" dialog, owned by the active window; the folder the user picks must hold a jvm.dll of the
// configured type. False when the user cancels, and always for the console launcher, which prints the message.
bool askUserForRuntime(JvmType jvmType, const std::wstring& message, RuntimePick& pick);

// "Class Data Sharing": the archive options for the runtime chosen, in the application's folder under %LOCALAPPDATA%
// (laid out as the per-user settings under %APPDATA%), once the VM options are assembled.
void prepareClassDataSharing(Launcher& launcher);
