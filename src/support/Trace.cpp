#include "Trace.h"

#include "OwnThread.h"

namespace {

// The C0 and C1 controls, DEL, and the two line separators of Unicode: whatever an editor may break a line at.
bool isControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

std::wstring escapedControls(const std::wstring& text) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (!isControl(c)) {
            result += c;
            continue;
        }
        result += L"\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            result += hex[(c >> shift) & 0xF];
    }
    return result;
}

} // namespace

namespace trace_detail {

bool on = false;
TraceSink sink = nullptr;

void writeLine(const std::wstring& text) {
    if (sink)
        sink(escapedControls(text));
}

void writeLineWithin(std::wstring text, unsigned waitMs) {
    runOnOwnThread([line = std::move(text)] { writeLine(line); }, waitMs);
}

} // namespace trace_detail

void setTraceSink(TraceSink sink) {
    trace_detail::sink = sink;
    trace_detail::on = sink != nullptr;
}

std::wstring quotedForTrace(const std::wstring& text) { return L"\"" + text + L"\""; }
