#pragma once
// Cutting text into pieces: the launcher's command-line rules (only spaces separate, only double quotes group,
// no escapes), the plain separator splitter, and trimming. Portable: no Windows headers.
#include <string>
#include <vector>

using StringList = std::vector<std::wstring>;

StringList splitArguments(const std::wstring& text);

// Plain separator splitter: a;;b gives a, "", b; a trailing separator adds no empty piece.
StringList splitList(const std::wstring& text, const std::wstring& separator);

// The text without the characters at either end for which isBlank holds.
std::wstring trimmed(const std::wstring& text, bool (*isBlank)(wchar_t));
