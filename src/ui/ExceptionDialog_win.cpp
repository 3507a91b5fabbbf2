#include "ExceptionDialog.h"

#include "DialogLayout_win.h"
#include "resource.h"

#include <windows.h>

namespace {

// The group box and the texts stretch with the dialog; the buttons stay at the bottom right.
const std::vector<ResizeMapping> resizeMap = {
    {IDC_EXCEPTION_GROUP, SizeX | SizeY},
    {IDC_EXCEPTION_HEADING, SizeX},
    {IDC_EXCEPTION_WARNING, SizeX | MoveY},
    {IDC_EXCEPTION_INSTRUCTION, SizeX | MoveY},
    {IDC_EXCEPTION_TEXT, SizeX | SizeY},
    {IDOK, MoveX | MoveY},
    {IDCANCEL, MoveX | MoveY},
};

// A multi-line edit box breaks lines only at CR LF: a line feed alone, as in a message, would show as nothing.
std::wstring withCrLf(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            result += L'\r';
        result += text[i];
    }
    return result;
}

struct ExceptionDialog {
    const std::wstring& trace;
    DialogResizer resizer;
};

void initDialog(HWND dialog, ExceptionDialog& state) {
    SetDlgItemTextW(dialog, IDC_EXCEPTION_TEXT, withCrLf(state.trace).c_str());
    SendDlgItemMessageW(dialog, IDC_EXCEPTION_TEXT, EM_SETREADONLY, TRUE, 0);
    SendDlgItemMessageW(dialog, IDC_ERROR_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
    centerWindow(dialog);
    state.resizer.setUpResize(dialog, resizeMap);
}

INT_PTR handleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, ExceptionDialog& state) {
    switch (message) {
    case WM_SIZE:
        state.resizer.onSize(dialog, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        state.resizer.onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_COMMAND:
        // Escape and the close box arrive as IDCANCEL, that is Stop.
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)
            return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initDialog(dialog, *reinterpret_cast<ExceptionDialog*>(lParam));
        return TRUE; // the focus goes to Ignore, so that Enter lets the application go on
    }
    // WM_GETMINMAXINFO comes before WM_INITDIALOG, while there is no state yet.
    auto* state = reinterpret_cast<ExceptionDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return state ? handleMessage(dialog, message, wParam, lParam, *state) : FALSE;
}

} // namespace

bool showExceptionDialog(const std::wstring& trace) {
    if (trace.empty())
        return false;
    ExceptionDialog state{trace, {}};
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JAVA_EXCEPTION), GetActiveWindow(),
                                     dialogProc, reinterpret_cast<LPARAM>(&state));
    return result != IDOK;
}
