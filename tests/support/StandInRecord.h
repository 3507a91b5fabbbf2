#pragma once
// Runs of the launcher against the stand-in runtime: the script it plays and the record of what it received.
#include "Installation.h"
#include "TestProcess.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// An installation whose "JRE Path" names a runtime folder holding the stand-in jvm.dll (bin\server\jvm.dll),
// with the record file and script set for the launched process.
class StandInLaunch {
public:
    explicit StandInLaunch(const std::wstring& script = L"", const std::wstring& exeName = L"editor.exe");

    Installation& app() { return *app_; }
    const std::wstring& runtimeHome() const { return home_; }
    const std::wstring& jvmPath() const { return jvm_; }
    // The settings file with "JRE Path" and "Main Class" filled in; `extra` adds keys ([Java Runtime Environment]
    // keys go in `runtimeKeys`, other sections in `sections`).
    void writeSettings(const std::wstring& runtimeKeys, const std::wstring& sections = L"") const;

    std::unique_ptr<TestProcess> start(const std::wstring& arguments = L"-nosplash") const;

    // Every record line as (key, value), in order.
    std::vector<std::pair<std::string, std::string>> record() const;
    std::vector<std::string> values(const std::string& key) const;
    std::string value(const std::string& key) const; // the first value, or "(absent)"
    bool has(const std::string& key) const { return value(key) != "(absent)"; }

private:
    std::unique_ptr<TempFolder> temp_;
    std::unique_ptr<Installation> app_;
    std::wstring home_;
    std::wstring jvm_;
    std::wstring recordPath_;
    std::unique_ptr<ScopedEnvironment> scriptVariable_;
    std::unique_ptr<ScopedEnvironment> recordVariable_;
};
