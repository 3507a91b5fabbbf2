#pragma once
// An opt-in account of a start's decisions, for finding out why a runtime was or was not used. Off unless
// startTrace (Trace_win.cpp) found KORU_TRACE set and could open the file; off, a trace call formats nothing.
// Portable: no Windows headers.
#include <string>

namespace trace_detail {
extern bool on;
// Control characters arrive escaped (a line feed as \u000A), so that no value can make a line of its own.
void writeLine(const std::wstring& text);
// Writes on a thread of its own and waits for it at most `limit`.
void writeLineWithin(std::wstring text, unsigned waitMs);
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

// For a caller that must not wait on the file: the VM's exit hook runs on the VM's own thread while every Java
// thread waits, and the process ends when it returns. The line is written by a thread of its own, which the caller
// gives a moment to do so (a local file takes far less) and then leaves.
template <typename Describe> void traceWithoutWaiting(Describe&& describe) {
    if (isTracing())
        trace_detail::writeLineWithin(describe(), 250);
}

// Opens the file KORU_TRACE names, for appending, and turns tracing on: "1" stands for %TEMP%\<exe name without
// extension>-trace.log, a full path is the path itself. Leaves tracing off for any other value, an unset or empty
// one, a file that cannot be opened, and what is no disk file. The file stays open for the life of the process.
void startTrace();

// The text of a traced value in double quotes, so that an empty value and surrounding spaces show.
std::wstring quotedForTrace(const std::wstring& text);
