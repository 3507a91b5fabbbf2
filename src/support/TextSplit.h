#pragma once
// The launcher's own command-line rules: only spaces separate, only double quotes group, no escapes.
// Portable: no Windows headers.
#include <string>
#include <vector>

using StringList = std::vector<std::wstring>;

StringList splitArguments(const std::wstring& text);

// Plain separator splitter: a;;b gives a, "", b; a trailing separator adds no empty piece.
StringList splitList(const std::wstring& text, const std::wstring& separator);

// The application arguments of a process command line: trimmed, split, program path dropped.
StringList argumentsFromCommandLine(const std::wstring& commandLine);

bool hasNoSplashSwitch(const StringList& appArguments);
