#include "UiAutomation.h"

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

// A message box is a dialog (class #32770) whose text control has the id 0xFFFF.
HWND findMessageBox(DWORD processId) {
    for (HWND window : windowsOf(processId)) {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770" && GetDlgItem(window, 0xFFFF)) return window;
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

std::vector<HWND> windowsOf(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring dismissMessageBox(DWORD processId, HWND* owner, DWORD timeoutMs) {
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); !box && GetTickCount() - start < timeoutMs; Sleep(20))
        box = findMessageBox(processId);
    if (!box) return L"(no message box)";
    if (owner) *owner = GetWindow(box, GW_OWNER);
    std::wstring text = textOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // Gone before the caller looks for the next one.
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < timeoutMs;)
        Sleep(20);
    return text;
}
