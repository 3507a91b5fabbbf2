#pragma once
// The Java runtime's own splash library (splashscreen.dll beside the runtime's bin folder), started by the
// launcher before the Java VM exists and closed through the routine it exports.
#include "NativeSplashPath.h"

#include <string>

using SplashCloseRoutine = void(__cdecl*)();

// The candidate when a file system entry lies there, else empty.
std::wstring findNativeSplashLibrary(const std::wstring& jvmPath);

// Loads the library and starts the splash through SplashInit, SplashLoadFile and SplashSetFileJarName. False
// (nothing called, no close routine) when the image path has no 8-bit form, the library does not load or
// lacks one of the three; otherwise closeRoutine is its SplashClose, which may be missing.
bool startNativeSplash(const std::wstring& libraryPath, const std::wstring& imagePath,
                       SplashCloseRoutine& closeRoutine);
