#include "DialogAutomation.h"

#include <shlobj.h>

namespace {

struct Search {
    DWORD processId;
    HWND owner;             // when set, only windows this one owns
    const wchar_t* caption; // when set, only windows with this caption
    HWND found = nullptr;
};

std::wstring textOf(HWND window) {
    std::wstring text(size_t(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(size_t(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

bool isDialog(HWND window) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770";
}

// Dialogs only: a dialog also owns its tooltips, which show while the pointer rests on a link.
BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->processId || !IsWindowVisible(window) || !isDialog(window))
        return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    if (search->caption && textOf(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND waitFor(Search search, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

} // namespace

HWND waitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    return waitFor({processId, nullptr, caption.c_str()}, timeoutMs);
}

std::wstring controlText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control ? textOf(control) : L"(no control)";
}

bool isControlEnabled(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

RECT controlRect(HWND dialog, int controlId) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void pressButton(HWND dialog, int controlId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void pressKey(HWND dialog, WORD virtualKey) {
    PostMessageW(dialog, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(dialog, WM_KEYUP, virtualKey, 0xC0000001);
}

void pressCloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

// The browser takes the folder as text in its own address space, so the text is written there first. Its answer
// to the message says nothing, so the caller checks what the dialog shows afterwards.
bool chooseFolder(DWORD processId, HWND owner, const std::wstring& folder) {
    HWND browser = waitFor({processId, owner, nullptr}, 10000);
    if (!browser)
        return false;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return false;
    size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool written = remote && WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr);
    DWORD_PTR result = 0;
    if (written)
        SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 20000,
                            &result);
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (written)
        pressButton(browser, IDOK);
    return written;
}

std::wstring cancelRuntimeDialog(DWORD processId, DWORD timeoutMs) {
    HWND dialog = waitForDialog(processId, L"JRE Not Found", timeoutMs);
    if (!dialog)
        return L"(no dialog)";
    std::wstring message = controlText(dialog, 203);
    pressButton(dialog, IDCANCEL);
    return message;
}
