#include "Trace.h"

#include "Environment.h"
#include "GrowingBuffer.h"
#include "ModulePath.h"
#include "Paths.h"
#include "UniqueResource.h"

#include <windows.h>

#include <cwchar>

namespace {

struct TraceFile {
    UniqueFileHandle file;
    DWORD processId = 0;
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER openedAt = {};
    double openedAtMs = 0; // since the process was created
};

TraceFile& traceFile() {
    static TraceFile file;
    return file;
}

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

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

void writeToFile(const std::wstring& text) {
    TraceFile& trace = traceFile();
    wchar_t stamp[64];
    swprintf(stamp, 64, L"%5lu %9.1f ms  ", static_cast<unsigned long>(trace.processId), millisecondsSinceStart(trace));
    std::string line = utf8(stamp + text) + "\r\n";
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
    std::wstring name = fileNameOf(executable);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return tempFolder() + name + L"-trace.log";
}

std::wstring localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    return text;
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
