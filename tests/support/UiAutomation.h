#pragma once
// Finds the dialogs and message boxes of a launched process, reads them, and answers them as a user would.
#include <windows.h>

#include <string>

// Waits for the process's message box (any process's for 0: of one the launcher under test started, say), reads its
// text (and owner) and presses OK. "(no message box)" when none appeared in time.
std::wstring dismissMessageBox(DWORD processId, DWORD timeoutMs = 10000, HWND* owner = nullptr);

// A visible dialog of the process with that caption, polled until the time limit; null when none came.
HWND waitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMs = 10000);
// A visible top-level window of the process of that class, the same way; a time limit of 0 looks once.
HWND waitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs = 10000);

// WM_GETTEXT, which reads the controls of another process too.
std::wstring controlText(HWND dialog, int controlId);
bool isControlEnabled(HWND dialog, int controlId);
// The control's rectangle in the dialog's client coordinates.
RECT controlRect(HWND dialog, int controlId);

// A click on the button: the dialog receives its command.
void pressButton(HWND dialog, int controlId);
// A key pressed while the dialog is active, through the dialog's own keyboard handling (Enter, Escape).
void pressKey(HWND dialog, WORD virtualKey);
// The caption's close box.
void pressCloseBox(HWND window);

// In the folder browser that `owner` opens: goes to the folder and presses OK. False when no browser appeared or it
// could not go there.
bool chooseFolder(DWORD processId, HWND owner, const std::wstring& folder);
