#pragma once
// Read-only access to the registry's Java keys in one hive and one view.
#include "RuntimeSearch.h"
#include "support/UniqueResource.h"

#include <string>
#include <vector>

UniqueRegKey openKey(RegistryHive hive, const std::wstring& path, RegistryView view);

// However many subkeys a key holds, only this many are read: a machine has a few dozen Java installations.
constexpr size_t maxSubkeysRead = 256;

// The names of the key's subkeys in enumeration order, at most maxSubkeysRead of them (the trace tells when there
// are more); none when the key cannot be opened.
std::vector<std::wstring> subkeyNames(RegistryHive hive, const std::wstring& path, RegistryView view);

// A string value as it is stored, an expandable one expanded. Empty when the key or the value is missing or
// unreadable, or when the value is not a string.
std::wstring readStringValue(RegistryHive hive, const std::wstring& keyPath, const wchar_t* valueName,
                             RegistryView view);

// HKLM\<path> or HKCU\<path>, with " (32-bit view)" (or 64-bit) in the companion's view: where a runtime was
// found, for the trace.
std::wstring registryKeyName(RegistryHive hive, const std::wstring& path, RegistryView view);
