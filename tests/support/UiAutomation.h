#pragma once
// Finds the windows of a launched process, reads message boxes and presses their buttons.
#include <windows.h>

#include <string>
#include <vector>

// The visible top-level windows of the process now.
std::vector<HWND> windowsOf(DWORD processId);

// Waits for the process's message box, reads its text (and its owner, when asked) and presses OK. "(no message
// box)" when none appeared in time.
std::wstring dismissMessageBox(DWORD processId, HWND* owner = nullptr, DWORD timeoutMs = 10000);
