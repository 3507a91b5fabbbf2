#include "StandInRecord.h"

#include "RuntimeFixtures.h"

StandInRecord::StandInRecord(const std::wstring& path) {
    for (const std::string& line : readLines(path)) {
        size_t equals = line.find('=');
        lines_.emplace_back(line.substr(0, equals), equals == std::string::npos ? "" : line.substr(equals + 1));
    }
}

std::vector<std::string> StandInRecord::values(const std::string& key) const {
    std::vector<std::string> found;
    for (const auto& line : lines_) {
        if (line.first == key)
            found.push_back(line.second);
    }
    return found;
}

StandInLaunch::StandInLaunch(const std::wstring& script)
    : app_(temp_ / L"App"), home_(temp_ / L"Java\\jre"), recordPath_(temp_ / L"record.txt"),
      script_(L"KORU_STANDIN_SCRIPT", script), recordVariable_(L"KORU_STANDIN_RECORD", recordPath_) {
    installJvmLibrary(home_, L"server", standInJvmPath());
    app_.set(L"Java Runtime Environment", L"Main Class", L"com.example.App");
    app_.set(L"Java Runtime Environment", L"JRE Path", home_);
    app_.set(L"Class Path", L"Class Path", L"C:\\app.jar");
}

DWORD StandInLaunch::run(const std::wstring& arguments, DWORD timeoutMs) const {
    std::unique_ptr<TestProcess> process = start(arguments);
    process->waitForExit(timeoutMs);
    return process->exitCode();
}
