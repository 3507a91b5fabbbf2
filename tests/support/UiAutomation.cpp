#include "UiAutomation.h"

#include "TestProcess.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>

namespace {

// WM_GETTEXT, since GetWindowTextW does not read the controls of another process.
std::wstring textOf(HWND window) {
    std::wstring text(size_t(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(size_t(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// Visible windows of the class only: a dialog (class #32770) also owns its tooltips, which show while the pointer
// rests on a link. Looks at least once, however short the time limit.
HWND waitFor(DWORD processId, const wchar_t* className, const std::function<bool(HWND)>& accepts, DWORD timeoutMs) {
    HWND found = nullptr;
    auto look = [&] {
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if ((processId == 0 || owner == processId) && IsWindowVisible(window) && accepts(window))
                return (found = window) != nullptr;
        }
        return false;
    };
    waitUntil(look, timeoutMs);
    return found;
}

// The browser takes the folder as text in its own address space, so the text is written there first. A browser that
// is still filling its tree cannot find the folder yet; the selection in the tree tells when it has.
bool selectInBrowser(HWND browser, HANDLE process, const std::wstring& folder) {
    HWND tree = nullptr;
    EnumChildWindows(
        browser,
        [](HWND child, LPARAM found) CALLBACK -> BOOL {
            wchar_t className[32] = L"";
            GetClassNameW(child, className, 32);
            if (std::wstring(className) == WC_TREEVIEWW)
                *reinterpret_cast<HWND*>(found) = child;
            return std::wstring(className) != WC_TREEVIEWW ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool selected = false;
    if (remote && WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr)) {
        LRESULT first = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        for (int i = 0; i < 50 && !selected; ++i, Sleep(100)) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000,
                                &ignored);
            selected = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != first;
        }
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return selected;
}

} // namespace

std::wstring dismissMessageBox(DWORD processId, DWORD timeoutMs, HWND* owner) {
    // A message box is a dialog whose text control has the id 0xFFFF.
    HWND box = waitFor(
        processId, L"#32770", [](HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; }, timeoutMs);
    if (!box)
        return L"(no message box)";
    if (owner)
        *owner = GetWindow(box, GW_OWNER);
    std::wstring text = controlText(box, 0xFFFF);
    pressButton(box, IDOK);
    waitUntil([box] { return !IsWindow(box); }, timeoutMs); // gone before the caller looks for the next one
    return text;
}

HWND waitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    return waitFor(
        processId, L"#32770", [&caption](HWND window) { return textOf(window) == caption; }, timeoutMs);
}

HWND waitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    return waitFor(
        processId, className, [](HWND) { return true; }, timeoutMs);
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

bool chooseFolder(DWORD processId, HWND owner, const std::wstring& folder) {
    HWND browser = waitFor(
        processId, L"#32770", [owner](HWND window) { return GetWindow(window, GW_OWNER) == owner; }, 10000);
    UniqueHandle process(browser ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId) : nullptr);
    if (!process)
        return false;
    bool selected = selectInBrowser(browser, process.get(), folder);
    // OK either way, so that the browser never stays open; the caller sees what the dialog took.
    pressButton(browser, IDOK);
    return selected;
}
