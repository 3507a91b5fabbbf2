#pragma once
// Finds the windows of a launched process, reads message boxes and presses their buttons.
#include <windows.h>

#include <string>
#include <vector>

// Waits for the process's message box, reads its text and owner and presses OK. "(no message box)" when none
// appeared in time.
std::wstring dismissMessageBox(DWORD processId, DWORD timeoutMs = 10000, HWND* owner = nullptr);

// The process's visible top-level windows of a class, now.
std::vector<HWND> windowsOf(DWORD processId, const std::wstring& className);
// The first of them, polled until the time limit; null when none appeared.
HWND waitForWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs = 10000);
