#pragma once
// Finds the windows of a launched process, reads their texts and presses their buttons, so that tests can read
// message boxes and dialogs and dismiss them.
#include <windows.h>

#include <string>
#include <vector>

struct FoundWindow {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring title;
};

// A visible top-level window of the process (of the class, when one is given), polled until the time limit.
FoundWindow waitForWindow(DWORD processId, const std::wstring& className = L"", DWORD timeoutMs = 10000);
// Every visible top-level window of the process now.
std::vector<FoundWindow> windowsOf(DWORD processId);

std::wstring windowText(HWND window);
// The text of a message box: its static text control.
std::wstring messageBoxText(HWND box);
std::wstring controlText(HWND dialog, int controlId);
std::vector<std::wstring> childTexts(HWND window);
bool isControlEnabled(HWND dialog, int controlId);

// Waits for the process's message box, reads its text and owner, and presses OK. "(no message box)" when none
// appeared in time.
std::wstring dismissMessageBox(DWORD processId, HWND* owner = nullptr, DWORD timeoutMs = 10000);

// Presses a button as a click would (the dialog receives WM_COMMAND with the button's id).
void pressButton(HWND dialog, int controlId);
