#include "UiAutomation.h"

namespace {

struct Search {
    DWORD processId;
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    wchar_t className[256] = L"";
    GetWindowThreadProcessId(window, &owner);
    GetClassNameW(window, className, 256);
    if (owner == search->processId && IsWindowVisible(window) && search->className == className)
        search->found.push_back(window);
    return TRUE;
}

// A message box is a dialog (class #32770) whose text control has the id 0xFFFF.
HWND findMessageBox(DWORD processId) {
    for (HWND window : windowsOf(processId, L"#32770")) {
        if (GetDlgItem(window, 0xFFFF))
            return window;
    }
    return nullptr;
}

// WM_GETTEXT, since GetWindowTextW does not read the controls of another process.
std::wstring textOf(HWND window) {
    std::wstring text(size_t(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(size_t(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

} // namespace

std::wstring dismissMessageBox(DWORD processId, DWORD timeoutMs, HWND* owner) {
    HWND box = findMessageBox(processId);
    for (DWORD start = GetTickCount(); !box && GetTickCount() - start < timeoutMs; box = findMessageBox(processId))
        Sleep(20);
    if (!box)
        return L"(no message box)";
    if (owner)
        *owner = GetWindow(box, GW_OWNER);
    std::wstring text = textOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // Gone before the caller looks for the next one.
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < timeoutMs;)
        Sleep(20);
    return text;
}

std::vector<HWND> windowsOf(DWORD processId, const std::wstring& className) {
    Search search{processId, className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs) {
    std::vector<HWND> found = windowsOf(processId, className);
    for (DWORD start = GetTickCount(); found.empty() && GetTickCount() - start < timeoutMs; Sleep(10))
        found = windowsOf(processId, className);
    return found.empty() ? nullptr : found.front();
}
