#pragma once
// The launcher's own executable path, read whole however deep the installation folder lies.
#include <windows.h>

#include <string>

// Empty on failure, with the system error code in `error`.
std::wstring modulePath(HMODULE module, DWORD& error);

// The launcher's own path; when it cannot be read, error 202 ("failed to get the module path") is reported
// and the result is empty.
std::wstring executablePath();
