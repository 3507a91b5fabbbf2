#pragma once
// Finds the windows of a launched process, reads message boxes and presses their buttons.
#include <windows.h>

#include <string>

// Waits for the process's message box, reads its text and presses OK. "(no message box)" when none appeared in time.
std::wstring dismissMessageBox(DWORD processId, DWORD timeoutMs = 10000);
