#pragma once
// A program started by a test: always with a time limit, and killed if the test leaves it running.
#include "support/UniqueResource.h"

#include <functional>
#include <string>

// The exit code of a launcher that failed to start the application (-1), and of a process the test had to kill.
constexpr DWORD failedStart = 0xFFFFFFFF;
constexpr DWORD killed = 0xDEAD;

class TestProcess {
public:
    // commandLine is passed as written; the program's folder is not implied. Inheritable handles given for standard
    // output and error become the program's.
    TestProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& currentFolder = L"",
                HANDLE output = nullptr, HANDLE error = nullptr);
    ~TestProcess() { kill(); }

    DWORD id() const { return id_; }
    // Waits for the end; false (after killing the process) when it did not end in time.
    bool waitForExit(DWORD timeoutMs = 20000);
    // The full 32-bit exit code: `killed` after a kill, STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    // Waits for the end as waitForExit does and gives the exit code.
    DWORD exitCodeAfterWait(DWORD timeoutMs = 20000) { return waitForExit(timeoutMs) ? exitCode() : killed; }

private:
    bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    void kill();

    // Whatever the program starts in turn (a companion launcher, say) joins its job, and ends with it.
    UniqueHandle job_{CreateJobObjectW(nullptr, nullptr)};
    UniqueHandle process_;
    DWORD id_ = 0;
};

// Polls the condition until it holds or the time limit passes; tells whether it held.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Quotes an argument for a command line built by hand.
std::wstring quoted(const std::wstring& text);

// Sets an environment variable for the test process and its children, restoring it when destroyed.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::wstring& name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::wstring previous_;
    bool hadPrevious_ = false;
};
