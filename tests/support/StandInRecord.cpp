#include "StandInRecord.h"

#include "RuntimeFixtures.h"

#include <algorithm>

StandInRecord::StandInRecord(const std::wstring& path) {
    for (const std::string& line : readLines(path)) {
        size_t equals = line.find('=');
        lines_.emplace_back(line.substr(0, equals), equals == std::string::npos ? "" : line.substr(equals + 1));
    }
}

Lines StandInRecord::values(const std::string& key) const {
    Lines found;
    for (const auto& line : lines_) {
        if (line.first == key)
            found.push_back(line.second);
    }
    return found;
}

Lines StandInRecord::facts(std::initializer_list<const char*> prefixes) const {
    Lines found;
    for (const auto& [key, value] : lines_) {
        auto starts = [&key](const char* prefix) { return key.rfind(prefix, 0) == 0; };
        if (std::any_of(prefixes.begin(), prefixes.end(), starts))
            found.push_back(value.empty() ? key : key + "=" + value);
    }
    return found;
}

StandInLaunch::StandInLaunch(const std::wstring& script, const std::vector<Setting>& settings)
    : app_(temp_ / L"App"), home_(temp_ / L"Java\\jre"), recordPath_(temp_ / L"record.txt"),
      script_(L"KORU_STANDIN_SCRIPT", script), recordVariable_(L"KORU_STANDIN_RECORD", recordPath_) {
    installJvmLibrary(home_, L"server", standInJvmPath());
    app_.set(jreSection, L"Main Class", L"com.example.App");
    app_.set(jreSection, L"JRE Path", home_);
    writeBytes(app_.file(L"app.jar"), "");
    app_.set(L"Class Path", L"Class Path", L"\\app.jar");
    app_.set(settings);
}

DWORD StandInLaunch::run(const std::wstring& arguments, DWORD timeoutMs) const {
    return start(arguments)->exitCodeAfterWait(timeoutMs);
}
