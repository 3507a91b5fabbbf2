#pragma once
// Java runtime folders made by tests: home\bin\<type>\jvm.dll, and bin\java.dll where a folder must count as a runtime.
#include <string>

// The stand-in runtime library built with the tests (never shipped).
std::wstring standInJvmPath();

// Puts a jvm.dll under home\bin\<type>\ (client, server, ...): a copy of `source`, or an empty file without one.
// Returns the library's path.
std::wstring installJvmLibrary(const std::wstring& home, const std::wstring& type, const std::wstring& source = L"");

// Creates home\bin\java.dll (empty), which makes the folder a runtime folder.
void markRuntimeFolder(const std::wstring& home);
