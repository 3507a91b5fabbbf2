#pragma once
// Java runtime folders made by tests (home\bin\<type>\jvm.dll) and the libraries and programs built for them.
#include <string>

// The stand-in runtime library built with the tests (never shipped).
std::wstring standInJvmPath();

// Puts a jvm.dll under home\bin\<type>\ (client, server, ...): a copy of `source`, or an empty file without one.
// Returns the library's path.
std::wstring installJvmLibrary(const std::wstring& home, const std::wstring& type, const std::wstring& source = L"");

// Libraries and programs built for the tests in bin\fixtures\: a library of the companion's width (x86 beside the
// 64-bit launcher, x64 beside the 32-bit one), a library of this width that exports JNI_CreateJavaVM only, and a
// stand-in companion launcher (see CompanionProbe_win.cpp).
std::wstring companionWidthLibraryPath();
std::wstring createOnlyLibraryPath();
std::wstring companionProbePath();

// A file of the other width's build tree, the real companion: its koru.exe, or its stand-in standin\jvm.dll.
std::wstring pairBuildFile(const std::wstring& relative);
