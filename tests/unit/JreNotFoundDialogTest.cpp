// The folder the "JRE Not Found" dialog takes from the shell's folder browser.
#include "TestFiles.h"
#include "support/ComPtr.h"
#include "ui/JreNotFoundDialog.h"

#include <gtest/gtest.h>

namespace {

// The one sub-folder of a folder, named the way the folder browser names it: listed inside its parent, so that its
// own path, however long, is never parsed. Null when the shell cannot list it.
PIDLIST_ABSOLUTE onlyChildOf(const std::wstring& parentPath) {
    PIDLIST_ABSOLUTE parent = ILCreateFromPathW(parentPath.c_str());
    ComPtr<IShellFolder> desktop, folder;
    ComPtr<IEnumIDList> children;
    PITEMID_CHILD child = nullptr;
    if (parent && SUCCEEDED(SHGetDesktopFolder(desktop.put())) &&
        SUCCEEDED(desktop->BindToObject(parent, nullptr, IID_IShellFolder, folder.putVoid())) &&
        folder->EnumObjects(nullptr, SHCONTF_FOLDERS, children.put()) == S_OK)
        children->Next(1, &child, nullptr);
    PIDLIST_ABSOLUTE whole = child ? ILCombine(parent, child) : nullptr;
    ILFree(child);
    ILFree(parent);
    return whole;
}

// A shell may cut a path that does not fit MAX_PATH to MAX_PATH - 1 characters; such a cut names another folder.
TEST(FolderPathOf, APathThatMayHaveBeenCutIsRefused) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (size_t length : {MAX_PATH - 2, MAX_PATH - 1, MAX_PATH + 11}) {
        TempFolder temp;
        std::wstring parent = length < MAX_PATH ? temp.path() : temp / std::wstring(240 - temp.path().size(), L'p');
        std::wstring folder = parent + L"\\" + std::wstring(length - parent.size() - 1, L'c');
        createFolders(folder);
        PIDLIST_ABSOLUTE list = onlyChildOf(parent);
        ASSERT_TRUE(list) << length;
        std::wstring path = L"(unchanged)";
        bool fits = length < MAX_PATH - 1;
        EXPECT_EQ(folderPathOf(list, path), fits) << length;
        EXPECT_EQ(path, fits ? folder : L"(unchanged)") << length;
        ILFree(list);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

} // namespace
