#pragma once
// Reading the stand-in runtime's record file in tests (see StandIn.h for its keys): one UTF-8 line per fact.
#include "TestFiles.h"

#include <algorithm>
#include <string>
#include <vector>

inline std::vector<std::string> readStandInRecord(const std::wstring& path) {
    std::string text = readBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Index of the first line equal to line, or -1: order checks compare indices.
inline int recordIndex(const std::vector<std::string>& record, const std::string& line) {
    auto found = std::find(record.begin(), record.end(), line);
    return found == record.end() ? -1 : static_cast<int>(found - record.begin());
}

inline bool recordHas(const std::vector<std::string>& record, const std::string& line) {
    return recordIndex(record, line) >= 0;
}

// Every value recorded under key, in order (for example all main.arg values).
inline std::vector<std::string> recordValues(const std::vector<std::string>& record, const std::string& key) {
    std::vector<std::string> values;
    for (const std::string& line : record)
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            values.push_back(line.substr(key.size() + 1));
    return values;
}
