#pragma once
// A launcher installed the way a Java team ships it: koru.exe copied under its own name into a fresh folder,
// with a settings file of the same name beside it.
#include "TestFiles.h"
#include "TestProcess.h"

#include <memory>
#include <string>

class Installation {
public:
    explicit Installation(const std::wstring& exeName = L"editor.exe");
    // Installs into a given folder (created as needed) instead of a fresh temporary one.
    Installation(const std::wstring& folder, const std::wstring& exeName);

    const std::wstring& folder() const { return folder_; }
    std::wstring exePath() const { return folder_ + L"\\" + exeName_; }
    std::wstring settingsPath() const;
    std::wstring file(const std::wstring& relative) const { return folder_ + L"\\" + relative; }

    // Writes the settings file (UTF-16 with a byte-order mark, so any text survives).
    void writeSettings(const std::wstring& text) const;

    // Builds a settings text into the installed executable, as a team would with a resource editor.
    bool stampBuiltInSettings(const std::string& utf8Text) const;

    // Starts the launcher with the arguments appended to its quoted path.
    std::unique_ptr<TestProcess> start(const std::wstring& arguments = L"",
                                       const std::wstring& currentFolder = L"") const;

private:
    std::unique_ptr<TempFolder> temp_;
    std::wstring folder_;
    std::wstring exeName_;
};

// The launcher built beside the test programs.
std::wstring builtLauncherPath();
