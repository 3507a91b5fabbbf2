#include "ErrorMessages.h"

#include "Console.h"
#include "ErrorOwner.h"
#include "resource.h"

std::wstring loadResourceString(UINT id) {
    // With a zero buffer size LoadStringW hands out a read-only pointer to the resource text itself, which
    // is neither zero-terminated nor limited in length.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

int reportError(HWND owner, const std::wstring& text) {
    if (isConsoleLauncher()) {
        writeErrorLine(text);
        return IDOK;
    }
    int pressed = MessageBoxW(owner, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
    // An owner that went between the caller's look and the box fails the box: it is shown without one.
    if (pressed == 0 && owner)
        pressed = MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
    return pressed;
}

int reportFormattedError(HWND owner, UINT formatId, const std::vector<FormatArgument>& arguments) {
    return reportError(owner, formatText(loadResourceString(formatId), arguments));
}

void reportOutOfMemory() {
    reportFormattedError(errorOwner(), IDS_WINDOWS_EXCEPTION,
                         {loadResourceString(IDS_REASON_NO_MEMORY), DWORD(ERROR_NOT_ENOUGH_MEMORY)});
}

void reportModulePathError(DWORD error) {
    reportFormattedError(errorOwner(), IDS_WINDOWS_EXCEPTION, {loadResourceString(IDS_NO_MODULE_PATH), error});
}
