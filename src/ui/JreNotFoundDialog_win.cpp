#include "JreNotFoundDialog.h"

#include "DialogLayout_win.h"
#include "HyperLink_win.h"
#include "resource.h"
#include "support/ComPtr.h"
#include "support/ErrorMessages.h"
#include "support/Paths.h"
#include "support/UniqueResource.h"

#include <objbase.h>

namespace {

struct ItemIdListTraits {
    static PIDLIST_ABSOLUTE invalid() { return nullptr; }
    static void close(PIDLIST_ABSOLUTE list) { CoTaskMemFree(list); }
};
using UniqueItemIdList = UniqueResource<PIDLIST_ABSOLUTE, ItemIdListTraits>;

struct JreNotFoundDialog {
    const JreNotFoundRequest& request;
    std::wstring chosenHome;
    std::wstring chosenJvmPath;
    HyperLinkControl link;
};

void attachLink(HWND dialog, JreNotFoundDialog& state) {
    HWND control = GetDlgItem(dialog, IDC_DOWNLOAD_LINK);
    state.link.setNormalFont(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    state.link.attach(control);
}

void initDialog(HWND dialog, JreNotFoundDialog& state) {
    attachLink(dialog, state);
    SetDlgItemTextW(dialog, IDC_JRE_MESSAGE, state.request.message.c_str());
    SendDlgItemMessageW(dialog, IDC_ERROR_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    centerWindow(dialog);
}

// OK follows the current pick: a second pick without a library takes back what the first one allowed.
void browse(HWND dialog, JreNotFoundDialog& state) {
    std::wstring folder;
    const FolderBrowser& browser = state.request.browseForFolder;
    if (!(browser ? browser(dialog, folder) : browseForRuntimeFolder(dialog, folder)))
        return;
    SetDlgItemTextW(dialog, IDC_JRE_PATH, folder.c_str());
    state.chosenHome = withTrailingBackslash(folder);
    state.chosenJvmPath = state.request.findLibrary ? state.request.findLibrary(state.chosenHome) : std::wstring();
    EnableWindow(GetDlgItem(dialog, IDOK), !state.chosenJvmPath.empty());
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initDialog(dialog, *reinterpret_cast<JreNotFoundDialog*>(lParam));
        return FALSE; // no control is given the focus
    }
    auto* state = reinterpret_cast<JreNotFoundDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !state)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case IDC_BROWSE:
        browse(dialog, *state);
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool browseForRuntimeFolder(HWND owner, std::wstring& folder) {
    // The folder browser's new dialog style needs a single-threaded apartment on the calling thread.
    ComApartment apartment;
    std::wstring title = loadResourceString(IDS_BROWSE_FOR_JRE);
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    UniqueItemIdList picked(SHBrowseForFolderW(&info));
    if (!picked)
        return false;
    return folderPathOf(picked.get(), folder);
}

// Some shells cut a path that does not fit MAX_PATH to its first MAX_PATH - 1 characters instead of failing, so a
// path that fills the whole buffer may be such a cut and names another folder. It is refused: a folder that long
// could not hold a library the launcher finds anyway, since "bin\server\jvm.dll" would no longer fit.
bool folderPathOf(PCIDLIST_ABSOLUTE list, std::wstring& folder) {
    wchar_t path[MAX_PATH] = L"";
    if (!SHGetPathFromIDListW(list, path))
        return false;
    size_t length = wcslen(path);
    if (length == 0 || length >= MAX_PATH - 1)
        return false;
    folder.assign(path, length);
    return true;
}

bool showJreNotFoundDialog(HWND owner, const JreNotFoundRequest& request, RuntimeFolderPick& pick) {
    JreNotFoundDialog state{request, {}, {}, {}};
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JRE_NOT_FOUND), owner, dialogProc,
                                     reinterpret_cast<LPARAM>(&state));
    if (result != IDOK || state.chosenJvmPath.empty())
        return false;
    pick.chosenHome = state.chosenHome;
    pick.chosenJvmPath = state.chosenJvmPath;
    return true;
}
