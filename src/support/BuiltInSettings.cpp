#include "BuiltInSettings.h"

#include "TextSplit.h"

namespace {

bool isBlank(wchar_t c) { return c <= L' '; }

// A header's first character above the space is "[" and its last such character is "]".
bool readSectionHeader(const std::wstring& line, std::wstring& name) {
    std::wstring core = trimmed(line, isBlank);
    if (core.size() < 2 || core.front() != L'[' || core.back() != L']')
        return false;
    name = core.substr(1, core.size() - 2);
    return true;
}

} // namespace

std::wstring BuiltInSettings::lookup(const std::wstring& section, const std::wstring& key) const {
    for (const Section& s : sections) {
        if (s.name != section)
            continue;
        for (const auto& pair : s.pairs) {
            if (pair.first == key)
                return pair.second;
        }
        return std::wstring();
    }
    return std::wstring();
}

BuiltInSettings parseBuiltInSettings(const std::wstring& text) {
    BuiltInSettings table;
    StringList lines = splitList(text, L"\r\n");
    if (!lines.empty() && !lines.front().empty() && lines.front().front() == 0xFEFF)
        lines.front().erase(0, 1);
    for (const std::wstring& line : lines) {
        if (line.empty())
            continue;
        std::wstring name;
        if (readSectionHeader(line, name)) {
            table.sections.push_back({name, {}});
            continue;
        }
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || table.sections.empty())
            continue;
        table.sections.back().pairs.emplace_back(trimmed(line.substr(0, equals), isBlank),
                                                 trimmed(line.substr(equals + 1), isBlank));
    }
    return table;
}

std::wstring layeredValue(const std::wstring& builtIn, const std::wstring& fileValue, const std::wstring& plusValue) {
    if (!fileValue.empty())
        return fileValue;
    std::wstring result = builtIn;
    if (plusValue.empty())
        return result;
    if (plusValue.front() != L' ')
        result += L' ';
    return result + plusValue;
}
