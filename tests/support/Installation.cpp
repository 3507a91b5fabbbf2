#include "Installation.h"

std::wstring builtLauncherPath() { return testProgramFolder() + L"\\koru.exe"; }

Installation::Installation(const std::wstring& exeName)
    : temp_(new TempFolder()), folder_(temp_->path()), exeName_(exeName) {
    copyFile(builtLauncherPath(), exePath());
}

Installation::Installation(const std::wstring& folder, const std::wstring& exeName)
    : folder_(folder), exeName_(exeName) {
    createFolders(folder_);
    copyFile(builtLauncherPath(), exePath());
}

std::wstring Installation::settingsPath() const {
    std::wstring path = exePath();
    return path.substr(0, path.rfind(L'.')) + L".ini";
}

void Installation::writeSettings(const std::wstring& text) const { writeUnicodeFile(settingsPath(), text); }

std::unique_ptr<TestProcess> Installation::start(const std::wstring& arguments,
                                                 const std::wstring& currentFolder) const {
    std::wstring line = quoted(exePath());
    if (!arguments.empty())
        line += L" " + arguments;
    return std::make_unique<TestProcess>(exePath(), line, currentFolder.empty() ? folder_ : currentFolder);
}

bool Installation::stampBuiltInSettings(const std::string& utf8Text) const {
    HANDLE update = BeginUpdateResourceW(exePath().c_str(), FALSE);
    if (!update)
        return false;
    // 300 is the launcher's built-in settings resource, language neutral.
    BOOL added = UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(300), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                 const_cast<char*>(utf8Text.data()), static_cast<DWORD>(utf8Text.size()));
    return EndUpdateResourceW(update, !added) && added;
}
