#include "SettingsFile.h"

#include "AnsiText.h"
#include "GrowingBuffer.h"
#include "ModulePath.h"
#include "Paths.h"
#include "TextCompare.h"
#include "resource.h"

#include <windows.h>

namespace {

// The profile functions cannot open a path of MAX_PATH characters or more; the short form of such a path
// usually fits, so a launcher installed deep in a folder tree still reads its own file.
std::wstring profilePath(const std::wstring& path) {
    if (path.size() < MAX_PATH || hasLongPathPrefix(path))
        return path;
    std::wstring shortForm = shortPathOf(L"\\\\?\\" + path);
    if (shortForm.empty())
        return path;
    if (hasLongPathPrefix(shortForm) && shortForm.size() - 4 < MAX_PATH)
        shortForm.erase(0, 4);
    return shortForm;
}

std::wstring decodeSettingsText(const BYTE* data, DWORD size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(data + 2), (size - 2) / sizeof(wchar_t));
    return fromCodePage(CP_UTF8, std::string(reinterpret_cast<const char*>(data), size));
}

// Nothing when the list could not be read whole: then no name is ruled out.
template <typename Fill> std::optional<StringList> readNameList(Fill fill) {
    std::wstring list;
    if (!readGrowingBuffer(list, fill))
        return std::nullopt;
    return splitList(list, std::wstring(1, L'\0'));
}

// The file's own comparison of names ignores letter case; for names beyond ASCII that comparison is the
// platform's to make, so such a name may be any name.
bool anyNameMayBe(const std::optional<StringList>& names, const std::wstring& wanted) {
    if (!names)
        return true;
    for (const std::wstring& name : *names) {
        if (!isAscii(name) || !isAscii(wanted) || equalsIgnoringCase(name, wanted))
            return true;
    }
    return false;
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

PlainSettingsReader::PlainSettingsReader(std::wstring path) : path_(profilePath(path)) {}

const std::optional<StringList>& PlainSettingsReader::sectionNames() const {
    if (!sectionNamesRead_) {
        // Every section name, each ended by a null; a cut list is answered with the buffer size minus two.
        auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
            DWORD copied = GetPrivateProfileSectionNamesW(buffer, static_cast<DWORD>(capacity), path_.c_str());
            return copied + 2 >= capacity ? capacity : copied;
        };
        sectionNames_ = readNameList(fill);
        sectionNamesRead_ = true;
    }
    return sectionNames_;
}

const std::optional<StringList>& PlainSettingsReader::keyNames(const std::wstring& section) const {
    auto known = keyNames_.find(section);
    if (known != keyNames_.end())
        return known->second;
    std::optional<StringList> names = StringList();
    if (anyNameMayBe(sectionNames(), section)) {
        // Without a key the answer is every key name of the section, in the same form as the section names.
        auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
            DWORD copied = GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer, static_cast<DWORD>(capacity),
                                                    path_.c_str());
            return copied + 2 >= capacity ? capacity : copied;
        };
        names = readNameList(fill);
    }
    return keyNames_.emplace(section, std::move(names)).first->second;
}

bool PlainSettingsReader::mayHold(const std::wstring& section, const std::wstring& key) const {
    return anyNameMayBe(keyNames(section), key);
}

std::wstring PlainSettingsReader::read(const std::wstring& section, const std::wstring& key) const {
    if (!mayHold(section, key))
        return std::wstring();
    std::wstring value;
    // A cut value fills the buffer up to its last character, and the size it needs is not told: grow and ask again.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD copied = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, static_cast<DWORD>(capacity),
                                                path_.c_str());
        return copied + 1 == capacity ? capacity : copied;
    };
    if (!readGrowingBuffer(value, fill))
        return std::wstring();
    value.resize(wcslen(value.c_str()));
    return value;
}

void PlainSettingsReader::write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    sectionNamesRead_ = false;
    keyNames_.clear();
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

void LayeredSettingsReader::write(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& value) const {
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
