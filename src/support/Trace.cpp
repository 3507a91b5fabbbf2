#include "Trace.h"

#include "Paths.h"

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

std::wstring tracePathFor(const std::wstring& setting, const std::wstring& executable, const std::wstring& tempFolder) {
    if (setting != L"1")
        return setting;
    std::wstring name = fileNameOf(executable);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return tempFolder + name + L"-trace.log";
}

std::wstring quotedForTrace(const std::wstring& text) { return L"\"" + text + L"\""; }
