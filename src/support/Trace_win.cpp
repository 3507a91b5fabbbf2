#include "Trace.h"

#include "AnsiText.h"
#include "Environment.h"
#include "GrowingBuffer.h"
#include "ModulePath.h"
#include "Paths.h"
#include "TextFormat.h"
#include "UniqueResource.h"

#include <windows.h>

namespace {

struct TraceFile {
    UniqueFileHandle file;
    DWORD processId = 0;
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER openedAt = {};
    double openedAtMs = 0; // since the process was created
};

// Set up by startTrace before any other thread runs.
TraceFile theTraceFile;

TraceFile& traceFile() { return theTraceFile; }

unsigned long long ticksOf(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The system clock is coarse, so it is read once, for the offset from the process's creation; the performance
// counter measures from there.
double processAgeMs() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    GetSystemTimeAsFileTime(&now);
    return ticksOf(now) > ticksOf(created) ? double(ticksOf(now) - ticksOf(created)) / 10000.0 : 0;
}

double millisecondsSinceStart(const TraceFile& trace) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    double elapsed = double(now.QuadPart - trace.openedAt.QuadPart) * 1000.0 / double(trace.frequency.QuadPart);
    return trace.openedAtMs + elapsed;
}

std::wstring rightAligned(std::wstring text, size_t width) {
    if (text.size() < width)
        text.insert(0, width - text.size(), L' ');
    return text;
}

// The process id and the milliseconds to a tenth, each in a column of its own.
std::wstring stampOf(const TraceFile& trace) {
    auto tenths = static_cast<int64_t>(millisecondsSinceStart(trace) * 10 + 0.5);
    std::wstring milliseconds = decimalText(tenths / 10) + L"." + decimalText(tenths % 10);
    return rightAligned(decimalText(trace.processId), 5) + L" " + rightAligned(milliseconds, 9) + L" ms  ";
}

void writeToFile(const std::wstring& text) {
    TraceFile& trace = traceFile();
    std::string line = toCodePage(CP_UTF8, stampOf(trace) + text) + "\r\n";
    // One write per line: opened for appending only, each write lands whole at the end of the file, also when other
    // processes (a companion, a later start) append to the same file.
    DWORD written = 0;
    WriteFile(trace.file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::wstring tempFolder() {
    std::wstring folder;
    auto fill = [](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetTempPathW(static_cast<DWORD>(capacity), buffer);
        return length == 0 ? bufferCallFailed : length;
    };
    return readGrowingBuffer(folder, fill) ? folder : std::wstring();
}

// Any other text ("0", "no", "true", a name alone) names no trace: it would be a file in the current folder.
std::wstring tracePathFor(const std::wstring& setting, const std::wstring& executable) {
    if (setting != L"1")
        return isFullPath(setting) ? setting : std::wstring();
    return tempFolder() + programNameOf(executable) + L"-trace.log";
}

std::wstring localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return decimalText(now.wYear, 4) + L"-" + decimalText(now.wMonth, 2) + L"-" + decimalText(now.wDay, 2) + L" " +
           decimalText(now.wHour, 2) + L":" + decimalText(now.wMinute, 2) + L":" + decimalText(now.wSecond, 2);
}

} // namespace

void startTrace() {
    std::wstring setting = environmentVariable(L"KORU_TRACE");
    if (setting.empty())
        return;
    // Read without the error report that the launcher's own path lookup makes: the trace stays silent.
    DWORD error = 0;
    std::wstring executable = modulePath(nullptr, error);
    std::wstring path = tracePathFor(setting, executable);
    if (path.empty())
        return;
    TraceFile& file = traceFile();
    file.file.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    // A device's name can still hide in a full path (C:\x\COM1); its writes, like a pipe's, can wait for ever.
    if (file.file && GetFileType(file.file.get()) != FILE_TYPE_DISK)
        file.file.reset();
    if (!file.file)
        return;
    file.processId = GetCurrentProcessId();
    QueryPerformanceFrequency(&file.frequency);
    QueryPerformanceCounter(&file.openedAt);
    file.openedAtMs = processAgeMs();
    setTraceSink(writeToFile);
    trace([&] { return L"start: " + executable + L" at " + localTimeNow() + L", command line " + GetCommandLineW(); });
}
