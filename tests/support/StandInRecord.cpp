#include "StandInRecord.h"

#include "RuntimeFixtures.h"

StandInLaunch::StandInLaunch(const std::wstring& script, const std::wstring& exeName) : temp_(new TempFolder()) {
    app_ = std::make_unique<Installation>(temp_->path() + L"\\App", exeName);
    home_ = temp_->path() + L"\\Java\\jre";
    jvm_ = installJvmLibrary(home_, L"server", standInJvmPath());
    recordPath_ = temp_->path() + L"\\record.txt";
    scriptVariable_ = std::make_unique<ScopedEnvironment>(L"KORU_STANDIN_SCRIPT", script);
    recordVariable_ = std::make_unique<ScopedEnvironment>(L"KORU_STANDIN_RECORD", recordPath_);
}

void StandInLaunch::writeSettings(const std::wstring& runtimeKeys, const std::wstring& sections) const {
    app_->writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nJRE Path=" + home_ + L"\r\n" +
                        runtimeKeys + L"\r\n[Class Path]\r\nClass Path=C:\\app.jar\r\n" + sections);
}

std::unique_ptr<TestProcess> StandInLaunch::start(const std::wstring& arguments) const {
    return app_->start(arguments);
}

std::vector<std::pair<std::string, std::string>> StandInLaunch::record() const {
    std::vector<std::pair<std::string, std::string>> lines;
    std::string text = readBytes(recordPath_);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            lines.emplace_back(line, "");
        else
            lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> StandInLaunch::values(const std::string& key) const {
    std::vector<std::string> found;
    for (const auto& line : record()) {
        if (line.first == key)
            found.push_back(line.second);
    }
    return found;
}

std::string StandInLaunch::value(const std::string& key) const {
    std::vector<std::string> found = values(key);
    return found.empty() ? "(absent)" : found.front();
}
