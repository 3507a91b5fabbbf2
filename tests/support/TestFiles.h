#pragma once
// Folders and files that tests create and remove again.
#include <windows.h>

#include <string>
#include <vector>

// A fresh, uniquely named folder under the temporary folder, removed with its contents on destruction. Its name has at
// most eight characters, for folder browsers that find a folder by its path only when every name on the way is that
// short.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

// The folder of the running test program, where the build puts koru.exe and the fixtures.
std::wstring testProgramFolder();

// Writes UTF-16LE with a byte-order mark, which the profile functions read as Unicode.
void writeUnicodeFile(const std::wstring& path, const std::wstring& text);
// Writing and copying make the file's folders as needed.
void writeBytes(const std::wstring& path, const std::string& bytes);
std::string readBytes(const std::wstring& path);
// The lines of a text file, without their line ends.
std::vector<std::string> readLines(const std::wstring& path);
bool fileExists(const std::wstring& path);
bool copyFile(const std::wstring& from, const std::wstring& to);
// Creates every folder of the path (a long path is given the \\?\ prefix).
void createFolders(const std::wstring& path);

std::string narrow(const std::wstring& text);
