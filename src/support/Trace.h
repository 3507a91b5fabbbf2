#pragma once
// An opt-in account of a start's decisions, for finding out why a runtime was or was not used. Off unless
// startTrace (Trace_win.cpp) found KORU_TRACE set and could open the file; off, a trace call formats nothing.
// Portable: no Windows headers.
#include <string>

namespace trace_detail {
extern bool on;
void writeLine(const std::wstring& text);
} // namespace trace_detail

// Where trace lines go; null turns tracing off.
using TraceSink = void (*)(const std::wstring& text);
void setTraceSink(TraceSink sink);

inline bool isTracing() { return trace_detail::on; }

// Writes the line that `describe` returns. When tracing is off, `describe` is never called; a line that cannot be
// written is lost without a word, and never changes the start.
template <typename Describe> void trace(Describe&& describe) {
    if (isTracing())
        trace_detail::writeLine(describe());
}

// Opens the file KORU_TRACE names, for appending, and turns tracing on: "1" stands for %TEMP%\<exe name without
// extension>-trace.log, any other text is the path itself. Leaves tracing off when the variable is unset or empty,
// or the file cannot be opened. The file stays open for the life of the process.
void startTrace();

// The text of a traced value in double quotes, so that an empty value and surrounding spaces show.
std::wstring quotedForTrace(const std::wstring& text);
