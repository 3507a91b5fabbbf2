#include "Installation.h"

std::wstring builtLauncherPath() { return testProgramFolder() + L"\\koru.exe"; }

Installation::Installation(const std::wstring& folder, const std::wstring& exeName, const std::wstring& launcher)
    : temp_(folder.empty() ? new TempFolder() : nullptr), folder_(folder.empty() ? temp_->path() : folder),
      exeName_(exeName) {
    copyFile(launcher, exePath());
    // A byte-order mark makes the profile functions keep the file in UTF-16.
    writeUnicodeFile(settingsPath(), L"");
}

std::wstring Installation::settingsPath() const { return file(exeName_.substr(0, exeName_.rfind(L'.')) + L".ini"); }

void Installation::set(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), settingsPath().c_str());
}

void Installation::set(const std::vector<Setting>& settings) const {
    for (const Setting& setting : settings)
        set(setting.section, setting.key, setting.value);
}

void Installation::remove(const std::wstring& section, const std::wstring& key) const {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, settingsPath().c_str());
}

std::unique_ptr<TestProcess> Installation::start(const std::wstring& arguments,
                                                 const std::wstring& currentFolder) const {
    std::wstring line = quoted(exePath()) + (arguments.empty() ? L"" : L" " + arguments);
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
