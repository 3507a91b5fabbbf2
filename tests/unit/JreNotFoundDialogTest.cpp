// The folder the "JRE Not Found" dialog takes from the shell's folder browser.
#include "TestFiles.h"
#include "ui/JreNotFoundDialog.h"

#include <gtest/gtest.h>

namespace {

template <typename T> struct Released {
    T* object = nullptr;
    ~Released() {
        if (object)
            object->Release();
    }
};

// The shell's name of a folder, as the folder browser hands it over.
class ShellFolder {
public:
    explicit ShellFolder(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ShellFolder() { ILFree(list_); }
    ShellFolder(const ShellFolder&) = delete;
    ShellFolder& operator=(const ShellFolder&) = delete;
    PCIDLIST_ABSOLUTE get() const { return list_; }

    static PIDLIST_ABSOLUTE of(const std::wstring& path) { return ILCreateFromPathW(path.c_str()); }

    // The one sub-folder of a folder, reached the way the browser reaches it: listed inside its parent, so that its
    // own path, however long, is never parsed.
    static PIDLIST_ABSOLUTE onlyChildOf(const std::wstring& parentPath) {
        ShellFolder parent(of(parentPath));
        Released<IShellFolder> desktop, folder;
        Released<IEnumIDList> children;
        PITEMID_CHILD child = nullptr;
        if (!parent.get() || FAILED(SHGetDesktopFolder(&desktop.object)) ||
            FAILED(desktop.object->BindToObject(parent.get(), nullptr, IID_IShellFolder,
                                                reinterpret_cast<void**>(&folder.object))) ||
            folder.object->EnumObjects(nullptr, SHCONTF_FOLDERS, &children.object) != S_OK ||
            children.object->Next(1, &child, nullptr) != S_OK)
            return nullptr;
        PIDLIST_ABSOLUTE whole = ILCombine(parent.get(), child);
        ILFree(child);
        return whole;
    }

private:
    PIDLIST_ABSOLUTE list_;
};

class FolderPathOf : public ::testing::Test {
protected:
    void TearDown() override {
        if (SUCCEEDED(com))
            CoUninitialize();
    }
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TempFolder temp;
};

TEST_F(FolderPathOf, APathThatDoesNotFitMaxPathIsNeverCut) {
    std::wstring fits = temp / std::wstring(MAX_PATH - 3 - temp.path().size(), L'a'); // 258 characters
    std::wstring parent = temp / std::wstring(240 - temp.path().size(), L'p');
    std::wstring tooLong = parent + L"\\" + std::wstring(30, L'c');
    createFolders(fits);
    createFolders(tooLong);
    ASSERT_EQ(fits.size(), static_cast<size_t>(MAX_PATH - 2));

    ShellFolder fitting(ShellFolder::of(fits));
    ASSERT_TRUE(fitting.get());
    std::wstring path = L"(unchanged)";
    EXPECT_TRUE(folderPathOf(fitting.get(), path));
    EXPECT_EQ(path, fits);

    ShellFolder longer(ShellFolder::onlyChildOf(parent));
    ASSERT_TRUE(longer.get()) << "the shell names the long folder";
    path = L"(unchanged)";
    EXPECT_FALSE(folderPathOf(longer.get(), path));
    EXPECT_EQ(narrow(path), "(unchanged)");
}

} // namespace
