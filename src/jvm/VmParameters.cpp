#include "VmParameters.h"

#include "support/Paths.h"
#include "support/TextFormat.h"
#include "support/TextSplit.h"

#include <cmath>

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Numbers too large for 64 bits stay at the largest value instead of wrapping round to a small one, so a bound
// given beyond that range acts as no bound and a size as the largest size.
uint64_t saturatingMultiply(uint64_t a, uint64_t b) {
    if (b != 0 && a > UINT64_MAX / b)
        return UINT64_MAX;
    return a * b;
}

uint64_t appendDigit(uint64_t number, wchar_t digit) {
    uint64_t shifted = saturatingMultiply(number, 10);
    uint64_t value = static_cast<uint64_t>(digit - L'0');
    return shifted > UINT64_MAX - value ? UINT64_MAX : shifted + value;
}

bool startsWithAny(const std::wstring& token, std::initializer_list<const wchar_t*> prefixes) {
    for (const wchar_t* prefix : prefixes) {
        if (token.compare(0, 4, prefix) == 0)
            return true;
    }
    return false;
}

// The end of the token that starts at `start`: the first space outside a quoted stretch.
size_t vmTokenEnd(const std::wstring& text, size_t start) {
    size_t pos = start;
    for (;;) {
        size_t space = text.find(L' ', pos);
        size_t quote = text.find(L'"', pos);
        if (quote == std::wstring::npos || (space != std::wstring::npos && space < quote))
            return space == std::wstring::npos ? text.size() : space;
        size_t close = text.find(L'"', quote + 1);
        if (close == std::wstring::npos) {
            size_t first = text.find(L' ', start);
            return first == std::wstring::npos ? text.size() : first;
        }
        pos = close + 1;
        if (pos < text.size() && text[pos] == L'"')
            ++pos;
    }
}

uint64_t percentageOf(uint64_t base, uint64_t percentage) {
    double value = static_cast<double>(base >> 10) * (static_cast<double>(percentage) / 100.0);
    // Beyond 2^64 the conversion would be undefined; no machine has that much memory anyway.
    if (!(value < 18446744073709551616.0))
        return UINT64_MAX;
    return static_cast<uint64_t>(value);
}

} // namespace

std::vector<std::wstring> splitVmParameters(const std::wstring& text) {
    std::vector<std::wstring> tokens;
    size_t start = text.find_first_not_of(L' ');
    while (start != std::wstring::npos) {
        size_t end = vmTokenEnd(text, start);
        tokens.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(L' ', end);
    }
    return tokens;
}

std::wstring removeQuotes(const std::wstring& token) {
    std::wstring text = token;
    size_t pos = 0;
    for (;;) {
        size_t open = text.find(L'"', pos);
        if (open == std::wstring::npos)
            return text;
        size_t close = text.find(L'"', open + 1);
        if (close == std::wstring::npos)
            return text;
        if (close + 1 < text.size() && text[close + 1] == L'"')
            ++close; // the first of a doubled quote stays as a literal quote
        text.erase(close, 1);
        text.erase(open, 1);
        pos = close - 1;
    }
}

NumberList parseNumberList(const std::wstring& text) {
    NumberList list;
    list.start = text.size();
    for (size_t i = 0; i < text.size(); ++i) {
        if (isDigit(text[i]) || text[i] == L':') {
            list.start = i;
            break;
        }
    }
    if (list.start == text.size())
        return list;
    list.numbers.push_back(0);
    for (size_t i = list.start; i < text.size(); ++i) {
        if (isDigit(text[i]))
            list.numbers.back() = appendDigit(list.numbers.back(), text[i]);
        else if (text[i] == L':')
            list.numbers.push_back(0);
    }
    return list;
}

uint64_t parseByteSize(const std::wstring& text) {
    NumberList list = parseNumberList(text);
    if (list.start != 0 || list.numbers.size() != 1)
        return 0;
    uint64_t multiplier = 1;
    switch (text.back()) {
    case L'K':
    case L'k':
        multiplier = 1024;
        break;
    case L'M':
    case L'm':
        multiplier = 1048576;
        break;
    case L'G':
    case L'g':
        multiplier = 1073741824;
        break;
    default:
        break;
    }
    return saturatingMultiply(list.numbers.front(), multiplier);
}

std::wstring rewriteMemoryPercentage(const std::wstring& token, const MemoryBases& memory) {
    NumberList list = parseNumberList(token);
    uint64_t numbers[3] = {0, 0, 0};
    for (size_t i = 0; i < list.numbers.size() && i < 3; ++i)
        numbers[i] = list.numbers[i];
    const uint64_t percentage = numbers[0], minimum = numbers[1], maximum = numbers[2];

    wchar_t letter = token.empty() ? L'P' : token.back();
    uint64_t base = (letter == L'T' || letter == L't') ? memory.availableVirtual : memory.totalPhysical;
    uint64_t value = percentageOf(base, percentage);
    uint64_t maximumKiB = saturatingMultiply(maximum, 1024);
    uint64_t minimumKiB = saturatingMultiply(minimum, 1024);
    if (maximum != 0 && value > maximumKiB)
        value = maximumKiB;
    if (minimumKiB > value)
        value = minimumKiB;
    // The true value, also when it passes what a signed 32-bit number of KiB can hold (2 TiB and more).
    return token.substr(0, list.start) + decimalText(value) + L"K";
}

bool isMemoryPercentage(const std::wstring& unquoted) {
    bool memoryOption = startsWithAny(unquoted, {L"-Xms", L"-Xmx", L"-Xss"});
    return memoryOption && std::wstring(L"PpTt").find(unquoted.back()) != std::wstring::npos;
}

std::wstring normalizeVmParameter(const std::wstring& token, const MemoryBases& memory, uint64_t& threadStackSize) {
    std::wstring result = removeQuotes(token);
    if (isMemoryPercentage(result))
        result = rewriteMemoryPercentage(result, memory);
    if (result.compare(0, 4, L"-Xss") == 0)
        threadStackSize = parseByteSize(result.substr(4));
    return result;
}

bool isAbsoluteClassPathEntry(const std::wstring& entry) {
    return entry.size() >= 2 && (entry[1] == L':' || (entry[0] == L'\\' && entry[1] == L'\\'));
}

std::wstring relativeClassPathPattern(const std::wstring& launcherFolder, const std::wstring& entry) {
    bool startsWithSeparator = !entry.empty() && (entry[0] == L'\\' || entry[0] == L'/');
    return (startsWithSeparator ? parentFolder(launcherFolder, 1) : launcherFolder) + entry;
}

std::wstring pathWithoutEmptyEntries(const std::wstring& path) {
    std::wstring result;
    for (const std::wstring& entry : splitList(path, L";")) {
        if (!entry.empty())
            result += (result.empty() ? L"" : L";") + entry;
    }
    return result;
}

std::wstring classPathForVm(const std::wstring& classPath, const std::wstring& launcherFolder) {
    std::wstring result = pathWithoutEmptyEntries(classPath);
    if (!classPath.empty() && classPath.back() != L';')
        return result;
    return result.empty() ? launcherFolder : result + L";" + launcherFolder;
}

std::wstring patternFolder(const std::wstring& pattern) {
    size_t last = pattern.find_last_of(L"\\/");
    return last == std::wstring::npos ? std::wstring() : pattern.substr(0, last + 1);
}

std::wstring composeLibraryPath(const std::wstring& libraryPath, const std::wstring& launcherFolder,
                                const std::wstring& jvmPath) {
    std::wstring list = libraryPath;
    if (!list.empty() && list.back() != L';')
        list += L';';
    return list + launcherFolder + L";.;%Path%;" + parentFolder(jvmPath, 3) + L"\\lib";
}

std::wstring composeSystemPath(const std::wstring& systemPath, const std::wstring& jvmPath) {
    std::wstring path = systemPath;
    if (!path.empty() && path.back() != L';')
        path += L';';
    return path + L"%Path%;" + parentFolder(jvmPath, 2);
}
