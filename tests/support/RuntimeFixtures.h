#pragma once
// Java runtime folders made by tests (home\bin\<type>\jvm.dll) and the libraries and programs built for them.
#include <string>

// The stand-in runtime library built with the tests (never shipped).
std::wstring standInJvmPath();

// Puts a jvm.dll under home\bin\<type>\ (client, server, ...): a copy of `source`, or an empty file without one.
// Returns the library's path.
std::wstring installJvmLibrary(const std::wstring& home, const std::wstring& type, const std::wstring& source = L"");

// Libraries and programs built for the tests in bin\fixtures\: a 32-bit x86 library, a 64-bit library that
// exports JNI_CreateJavaVM only, and a stand-in companion launcher (see CompanionProbe_win.cpp).
std::wstring x86FixtureLibraryPath();
std::wstring x64FixtureLibraryPath();
std::wstring companionProbePath();
