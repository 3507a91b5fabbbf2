#include "RegistryKeys.h"

#include "CompanionWidth.h"
#include "support/Environment.h"
#include "support/GrowingBuffer.h"

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
    for (DWORD index = 0;; ++index) {
        wchar_t name[maxKeyNameLength];
        DWORD length = maxKeyNameLength;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::wstring readStringValue(RegistryHive hive, const std::wstring& keyPath, const wchar_t* valueName,
                             RegistryView view) {
    UniqueRegKey key = openKey(hive, keyPath, view);
    if (!key)
        return std::wstring();
    DWORD type = REG_NONE;
    std::wstring data;
    // A buffer that is too small is answered with ERROR_MORE_DATA and the size needed in bytes. One character is
    // kept free: the stored text need not end in a null.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD bytes = static_cast<DWORD>((capacity - 1) * sizeof(wchar_t));
        LSTATUS status =
            RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
        if (status == ERROR_MORE_DATA)
            return (bytes + 1) / sizeof(wchar_t);
        return status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : bufferCallFailed;
    };
    if (!readGrowingBuffer(data, fill) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    // The text may hold a null early; it ends at the first one.
    data.resize(wcslen(data.c_str()));
    return type == REG_EXPAND_SZ ? expandEnvironment(data) : data;
}

std::wstring registryKeyName(RegistryHive hive, const std::wstring& path, RegistryView view) {
    std::wstring name = (hive == RegistryHive::User ? L"HKCU\\" : L"HKLM\\") + path;
    return view == RegistryView::Companion ? name + L" (" + companionViewName + L")" : name;
}
