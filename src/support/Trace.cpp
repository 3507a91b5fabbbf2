#include "Trace.h"

namespace trace_detail {

bool on = false;
TraceSink sink = nullptr;

void writeLine(const std::wstring& text) {
    if (sink)
        sink(text);
}

} // namespace trace_detail

void setTraceSink(TraceSink sink) {
    trace_detail::sink = sink;
    trace_detail::on = sink != nullptr;
}

std::wstring quotedForTrace(const std::wstring& text) { return L"\"" + text + L"\""; }
