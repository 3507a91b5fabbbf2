#pragma once
// Where the Java runtime's own splash library lies. Portable: no Windows headers.
#include <string>

// The library beside the runtime's bin folder: ...\bin\server\jvm.dll gives ...\bin\splashscreen.dll. Empty
// when the path has nothing left two levels up.
std::wstring nativeSplashLibraryCandidate(const std::wstring& jvmPath);
