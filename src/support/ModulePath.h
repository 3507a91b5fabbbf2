#pragma once
// The launcher's own executable path, read whole however deep the installation folder lies.
#include <windows.h>

#include <string>

// Empty on failure, with the system error code in `error`. The buffer starts at `initialSize` characters and
// grows until the whole path fits.
std::wstring modulePath(HMODULE module, DWORD& error, size_t initialSize = MAX_PATH);

// The launcher's own path; when it cannot be read, error 202 ("failed to get the module path") is reported
// and the result is empty.
std::wstring executablePath();
