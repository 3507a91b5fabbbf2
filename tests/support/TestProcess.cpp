#include "TestProcess.h"

#include <cstdio>

TestProcess::TestProcess(const std::wstring& program, const std::wstring& commandLine,
                         const std::wstring& currentFolder, HANDLE output, HANDLE error) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    bool redirected = output != nullptr || error != nullptr;
    if (redirected) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = error;
    }
    PROCESS_INFORMATION info = {};
    // A start the system refuses for a moment (many at once, a loaded machine) is not the program under test
    // failing: the refusal is reported and the start tried again, a few times.
    for (int attempt = 0;; ++attempt) {
        std::wstring line = commandLine;
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, redirected, CREATE_SUSPENDED, nullptr,
                           currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info))
            break;
        fprintf(stderr, "CreateProcessW failed with error %lu (attempt %d)\n", GetLastError(), attempt + 1);
        if (attempt == 2)
            return;
        Sleep(200);
    }
    AssignProcessToJobObject(job_.get(), info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

bool TestProcess::waitForExit(DWORD timeoutMs) {
    if (!process_)
        return false;
    if (WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0)
        return true;
    kill();
    return false;
}

DWORD TestProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_.get(), &code);
    return code;
}

void TestProcess::kill() {
    TerminateJobObject(job_.get(), killed);
    if (running()) {
        TerminateProcess(process_.get(), killed);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); !done(); Sleep(20)) {
        if (GetTickCount() - start >= timeoutMs)
            return done();
    }
    return true;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value) : name_(name) {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, 32768);
    hadPrevious_ = length > 0 && length < 32768;
    if (hadPrevious_)
        previous_.assign(buffer, length);
    SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}
