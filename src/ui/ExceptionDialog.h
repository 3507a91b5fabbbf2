#pragma once
// The "Java Exception" dialog: the stack trace of an exception that escaped main, with Ignore and Stop.
#include <string>

// True means Stop. An empty trace shows nothing and counts as Ignore; a dialog that cannot be shown counts as
// Stop. Owned by the calling thread's active window, if it has one.
bool showExceptionDialog(const std::wstring& trace);
