#include "RegistryKeys.h"

#include "CompanionWidth.h"
#include "support/Environment.h"
#include "support/TextFormat.h"
#include "support/Trace.h"

#include <windows.h>

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD maxKeyNameLength = 256;

// A 32-bit process reads the 32-bit view as its own; the other view needs its flag in either build.
constexpr REGSAM companionViewFlag = isThirtyTwoBitBuild ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

REGSAM accessFor(RegistryView view) {
    return view == RegistryView::Companion ? KEY_READ | companionViewFlag : KEY_READ;
}

HKEY rootOf(RegistryHive hive) { return hive == RegistryHive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// A path has at most 32767 characters and its null.
constexpr DWORD maxPathValueBytes = 32768 * sizeof(wchar_t);

bool isPathSizedString(DWORD type, DWORD bytes) {
    return (type == REG_SZ || type == REG_EXPAND_SZ) && bytes <= maxPathValueBytes;
}

} // namespace

UniqueRegKey openKey(RegistryHive hive, const std::wstring& path, RegistryView view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootOf(hive), path.c_str(), 0, accessFor(view), &key) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

std::vector<std::wstring> subkeyNames(RegistryHive hive, const std::wstring& path, RegistryView view) {
    std::vector<std::wstring> names;
    UniqueRegKey key = openKey(hive, path, view);
    if (!key)
        return names;
    wchar_t name[maxKeyNameLength];
    for (DWORD index = 0;; ++index) {
        DWORD length = maxKeyNameLength;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (index == maxSubkeysRead) {
            trace([&] {
                return registryKeyName(hive, path, view) + L": only its first " + decimalText(index) +
                       L" subkeys are read, " + name + L" and those after it are not";
            });
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::wstring readStringValue(RegistryHive hive, const std::wstring& keyPath, const wchar_t* valueName,
                             RegistryView view) {
    UniqueRegKey key = openKey(hive, keyPath, view);
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    // Type and size first: a value that cannot be a path is never read.
    if (!key || RegQueryValueExW(key.get(), valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        !isPathSizedString(type, bytes))
        return std::wstring();
    // One character more than the value holds, and zero: the stored text need not end in a null.
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    // A value that grew since its size was read is answered with ERROR_MORE_DATA and left unread.
    if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
            ERROR_SUCCESS ||
        !isPathSizedString(type, bytes))
        return std::wstring();
    // The text may hold a null early; it ends at the first one.
    data.resize(wcslen(data.c_str()));
    return type == REG_EXPAND_SZ ? expandEnvironment(data) : data;
}

std::wstring registryKeyName(RegistryHive hive, const std::wstring& path, RegistryView view) {
    std::wstring name = (hive == RegistryHive::User ? L"HKCU\\" : L"HKLM\\") + path;
    return view == RegistryView::Companion ? name + L" (" + companionViewName + L")" : name;
}
