#include "SettingsFile.h"

#include "resource.h"
#include "support/ModulePath.h"
#include "support/Paths.h"

#include <windows.h>

namespace {

// The profile functions cannot open a path of MAX_PATH characters or more; the short form of such a path
// usually fits, so a launcher installed deep in a folder tree still reads its own file.
std::wstring profilePath(const std::wstring& path) {
    if (path.size() < MAX_PATH || hasLongPathPrefix(path))
        return path;
    std::wstring longForm = L"\\\\?\\" + path;
    DWORD needed = GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring shortForm(needed, L'\0');
    DWORD length = GetShortPathNameW(longForm.c_str(), shortForm.data(), needed);
    if (length == 0 || length >= needed)
        return path;
    shortForm.resize(length);
    if (hasLongPathPrefix(shortForm) && shortForm.size() - 4 < MAX_PATH)
        shortForm.erase(0, 4);
    return shortForm;
}

std::wstring withoutCharacters(const std::wstring& text, const wchar_t* removed) {
    std::wstring result;
    for (wchar_t c : text) {
        if (wcschr(removed, c) == nullptr)
            result += c;
    }
    return result;
}

std::wstring environmentVariable(const wchar_t* name) {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(name, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(buffer, length);
}

std::wstring decodeSettingsText(const BYTE* data, DWORD size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(data + 2), (size - 2) / sizeof(wchar_t));
    if (size == 0)
        return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), text.data(), length);
    return text;
}

} // namespace

std::wstring settingsFilePathFor(const std::wstring& executable) {
    size_t dot = executable.rfind(L'.');
    if (dot == std::wstring::npos)
        return std::wstring();
    return executable.substr(0, dot + 1) + L"ini";
}

bool settingsFilePath(std::wstring& path) {
    std::wstring executable = executablePath();
    if (executable.empty())
        return false;
    path = settingsFilePathFor(executable);
    return !path.empty();
}

std::wstring userSettingsFilePath(const std::wstring& executable, const std::wstring& productName,
                                  const std::wstring& productCode, bool createFolders) {
    std::wstring productFolder = environmentVariable(L"APPDATA") + L"\\" + withoutCharacters(productName, L"\\?\"|><:/*");
    std::wstring codeFolder = productFolder + L"\\" + productCode;
    if (createFolders) {
        CreateDirectoryW(productFolder.c_str(), nullptr);
        CreateDirectoryW(codeFolder.c_str(), nullptr);
    }
    std::wstring name = fileNameOf(executable);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return codeFolder + L"\\" + name + L".ini";
}

bool isNtPlatform() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

PlainSettingsReader::PlainSettingsReader(std::wstring path) : path_(profilePath(path)) {}

std::wstring PlainSettingsReader::read(const std::wstring& section, const std::wstring& key) const {
    std::wstring buffer(256, L'\0');
    for (;;) {
        DWORD copied = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path_.c_str());
        // A cut value fills the buffer up to its last character; grow until the value fits.
        if (copied != buffer.size() - 1) {
            buffer.resize(wcslen(buffer.c_str()));
            return buffer;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

void PlainSettingsReader::write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

LayeredSettingsReader::LayeredSettingsReader(std::wstring path, BuiltInSettings builtIn)
    : file_(std::move(path)), builtIn_(std::move(builtIn)) {}

std::wstring LayeredSettingsReader::read(const std::wstring& section, const std::wstring& key) const {
    std::wstring fileValue = file_.read(section, key);
    if (!fileValue.empty())
        return fileValue;
    return layeredValue(builtIn_.lookup(section, key), fileValue, file_.read(section + L"+", key));
}

void LayeredSettingsReader::write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    file_.write(section, key, value);
}

BuiltInSettings builtInSettingsFromResources() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_BUILTIN_SETTINGS), MAKEINTRESOURCEW(10 /*RT_RCDATA*/));
    if (resource == nullptr)
        return BuiltInSettings();
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return BuiltInSettings();
    return parseBuiltInSettings(decodeSettingsText(static_cast<const BYTE*>(data), SizeofResource(module, resource)));
}

LayeredSettingsReader layeredSettingsReader(const std::wstring& settingsPath) {
    return LayeredSettingsReader(settingsPath, builtInSettingsFromResources());
}
