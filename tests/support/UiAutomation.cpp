#include "UiAutomation.h"

namespace {

struct Search {
    DWORD processId;
    std::vector<FoundWindow> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);
    search->found.push_back({window, className, windowText(window)});
    return TRUE;
}

BOOL CALLBACK collectChildText(HWND child, LPARAM parameter) {
    reinterpret_cast<std::vector<std::wstring>*>(parameter)->push_back(windowText(child));
    return TRUE;
}

} // namespace

std::vector<FoundWindow> windowsOf(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

FoundWindow waitForWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        for (const FoundWindow& window : windowsOf(processId)) {
            if (className.empty() || window.className == className)
                return window;
        }
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return FoundWindow();
}

std::wstring windowText(HWND window) {
    int length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring messageBoxText(HWND box) {
    // The text control of a message box has the id 0xFFFF.
    return controlText(box, 0xFFFF);
}

std::wstring controlText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control ? windowText(control) : std::wstring();
}

std::vector<std::wstring> childTexts(HWND window) {
    std::vector<std::wstring> texts;
    EnumChildWindows(window, collectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool isControlEnabled(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

void pressButton(HWND dialog, int controlId) {
    HWND button = GetDlgItem(dialog, controlId);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::wstring dismissMessageBox(DWORD processId, HWND* owner, DWORD timeoutMs) {
    FoundWindow box = waitForWindow(processId, L"#32770", timeoutMs);
    if (!box.handle)
        return L"(no message box)";
    if (owner)
        *owner = GetWindow(box.handle, GW_OWNER);
    std::wstring text = messageBoxText(box.handle);
    pressButton(box.handle, IDOK);
    return text;
}
