#pragma once
// Starts of the launcher against the stand-in Java runtime, and the record of what that runtime was given. The
// script directives and the record keys are listed in tests/standin/StandIn.h.
#include "Installation.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using Lines = std::vector<std::string>;

// A record as the stand-in left it, read once: (key, value) per line, in order.
class StandInRecord {
public:
    explicit StandInRecord(const std::wstring& path);

    Lines values(const std::string& key) const;
    // The first value, or "(absent)".
    std::string value(const std::string& key) const { return has(key) ? values(key).front() : "(absent)"; }
    bool has(const std::string& key) const { return !values(key).empty(); }
    // The lines whose key starts with one of the prefixes, in order, as "key" or "key=value".
    Lines facts(std::initializer_list<const char*> prefixes) const;

private:
    std::vector<std::pair<std::string, std::string>> lines_;
};

// An installation whose "JRE Path" names a runtime folder with the stand-in as bin\server\jvm.dll, "Main Class"
// com.example.App and "Class Path" \app.jar (a file beside the executable); the launchers it starts play the script
// and write the record.
class StandInLaunch {
public:
    explicit StandInLaunch(const std::wstring& script, const std::vector<Setting>& settings = {});

    Installation& app() { return app_; }
    const std::wstring& runtimeHome() const { return home_; }
    std::wstring jvmPath() const { return home_ + L"\\bin\\server\\jvm.dll"; }
    std::unique_ptr<TestProcess> start(const std::wstring& arguments = L"-nosplash") const {
        return app_.start(arguments);
    }
    // Starts, waits at most the time limit and gives the exit code (`killed` when the launcher had to be killed).
    DWORD run(const std::wstring& arguments = L"-nosplash", DWORD timeoutMs = 20000) const;
    StandInRecord record() const { return StandInRecord(recordPath_); }
    // The next start's record starts empty.
    void clearRecord() const { DeleteFileW(recordPath_.c_str()); }

private:
    TempFolder temp_;
    Installation app_;
    std::wstring home_;
    std::wstring recordPath_;
    ScopedEnvironment script_;
    ScopedEnvironment recordVariable_;
};
