#pragma once
// Comparisons that ignore the letter case of ASCII letters only, as settings values are compared.
// Portable: no Windows headers.
#include <string>

bool equalsIgnoringCase(const std::wstring& a, const std::wstring& b);

bool isAscii(const std::wstring& text);

// A "Yes" flag of the settings file: "Yes" in any letter case.
inline bool isYes(const std::wstring& value) { return equalsIgnoringCase(value, L"Yes"); }
