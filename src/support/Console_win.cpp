#include "Console.h"

#include "AnsiText.h"
#include "ModulePath.h"
#include "Paths.h"
#include "TextFormat.h"

#include <windows.h>

namespace {

// Set by the entry point before the C runtime starts; read afterwards by every thread.
bool consoleLauncher = false;

// A console shows the text as written; a file or pipe gets it in the console's code page, as the console would
// have shown it (the ANSI code page when the process has no console).
void writeError(const std::wstring& text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(error, &mode)) {
        WriteConsoleW(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = toCodePage(GetConsoleOutputCP(), text);
    WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void markConsoleLauncher() { consoleLauncher = true; }

bool isConsoleLauncher() { return consoleLauncher; }

// The launcher's own path is read without the report its failure would make, which would come back here.
void writeErrorLine(const std::wstring& text) {
    DWORD ignored = 0;
    writeError(errorLine(programNameOf(modulePath(nullptr, ignored)), text));
}

void writeErrorText(const std::wstring& text) { writeError(text); }
