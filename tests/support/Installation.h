#pragma once
// A launcher installed the way a Java team ships it: koru.exe copied under its own name into a folder, with a
// settings file of the same name beside it.
#include "TestFiles.h"
#include "TestProcess.h"

#include <memory>
#include <string>
#include <vector>

// The launcher built beside the test programs.
std::wstring builtLauncherPath();

constexpr const wchar_t* jreSection = L"Java Runtime Environment";

// One key of a settings file.
struct Setting {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring value;
};

class Installation {
public:
    // Installs the launcher (this build's, unless another is given) into the folder given (created as needed), or
    // into a fresh temporary one.
    explicit Installation(const std::wstring& folder = L"", const std::wstring& exeName = L"editor.exe",
                          const std::wstring& launcher = builtLauncherPath());

    const std::wstring& folder() const { return folder_; }
    std::wstring exePath() const { return folder_ + L"\\" + exeName_; }
    std::wstring file(const std::wstring& relative) const { return folder_ + L"\\" + relative; }

    // One key of the settings file, which starts empty and is kept in UTF-16 so that any text survives.
    void set(const std::wstring& section, const std::wstring& key, const std::wstring& value) const;
    void set(const std::vector<Setting>& settings) const;
    void remove(const std::wstring& section, const std::wstring& key) const;

    // Builds a settings text into the installed executable, as a team would with a resource editor.
    bool stampBuiltInSettings(const std::string& utf8Text) const;

    // Starts the launcher with the arguments appended to its quoted path, in its own folder unless one is given.
    std::unique_ptr<TestProcess> start(const std::wstring& arguments = L"-nosplash",
                                       const std::wstring& currentFolder = L"") const;

private:
    std::wstring settingsPath() const;

    std::unique_ptr<TempFolder> temp_;
    std::wstring folder_;
    std::wstring exeName_;
};
