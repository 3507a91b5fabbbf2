#pragma once
// The console launcher (koruc.exe) is the same program linked for the console subsystem, for applications that are
// command-line tools: what the GUI launcher shows in a window it writes to standard error. This is the one place
// that knows which of the two is running; its entry point says so before anything else runs.
#include <string>

// Called by the console launcher's entry point only.
void markConsoleLauncher();

bool isConsoleLauncher();

// The message as one line on standard error, after the program's name ("editor: ...").
void writeErrorLine(const std::wstring& text);

// The text as it is (a stack trace with its own line ends) on standard error.
void writeErrorText(const std::wstring& text);
