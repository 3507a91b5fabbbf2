#pragma once
// The process environment: variables read whole, and %NAME% references expanded.
#include <string>

// Empty when the variable is not set.
std::wstring environmentVariable(const wchar_t* name);

// %NAME% references expanded; undefined variables stay as written, and a text that cannot be expanded is kept.
std::wstring expandEnvironment(const std::wstring& text);
