#pragma once
// Every failure that stops a start is told in one way: a modal error box whose text comes from the string table.
#include <windows.h>

#include "TextFormat.h"

#include <string>

// The text with that ID from the string table, whole; empty when there is none.
std::wstring loadResourceString(UINT id);

// A modal box with the error icon and an OK button, no caption of its own; returns the pressed button. The console
// launcher writes the text to standard error instead, as one line.
int reportError(HWND owner, const std::wstring& text);
int reportFormattedError(HWND owner, UINT formatId, const std::vector<FormatArgument>& arguments);

// Error 202 with text 208: the launcher's own executable path cannot be read.
void reportModulePathError(DWORD error);

// Error 202 with text 228 and ERROR_NOT_ENOUGH_MEMORY: a start ran out of memory.
void reportOutOfMemory();
