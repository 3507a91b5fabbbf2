#include "JavaVersion.h"

#include "support/TextFormat.h"

#include <cstddef>
#include <cwctype>

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t nextDigit(const std::wstring& text, size_t from) {
    while (from < text.size() && !isDigit(text[from]))
        ++from;
    return from;
}

// Reads the digit run at `pos` into `value`; false when it would pass the largest signed 32-bit value.
bool readDigitRun(const std::wstring& text, size_t& pos, int32_t& value) {
    int64_t number = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        number = number * 10 + (text[pos] - L'0');
        if (number > INT32_MAX)
            return false;
    }
    value = static_cast<int32_t>(number);
    return true;
}

// "8u392", Java 8 update 392: the settings and the old keys write it 1.8.0_392. Only Java 2 to 8 were named so.
bool isUpdateForm(const std::wstring& text, size_t pos, int32_t major) {
    return major >= 2 && major <= 8 && pos + 1 < text.size() && (text[pos] == L'u' || text[pos] == L'U') &&
           isDigit(text[pos + 1]);
}

// "17-ea", "1.8.0_40-ea-b04": an early-access build, which comes before its release; what follows is no part of
// the version. Other words after a dash ("zulu-17-jre", "-b08") name a kind or a build, not a stage.
bool isPreReleaseMark(const std::wstring& text, size_t pos) {
    if (pos + 3 > text.size() || text[pos] != L'-' || std::towlower(text[pos + 1]) != L'e' ||
        std::towlower(text[pos + 2]) != L'a')
        return false;
    return pos + 3 == text.size() || !std::iswalpha(text[pos + 3]);
}

struct DigitGroups {
    int32_t values[4] = {};
    int read = 0; // 1 to 4, or 5 when a fifth group exists
    bool preRelease = false;
};

// False when a group passes the largest signed 32-bit value.
bool readDigitGroups(const std::wstring& text, DigitGroups& groups) {
    for (size_t pos = nextDigit(text, 0); pos < text.size(); pos = nextDigit(text, pos)) {
        if (groups.read == 4) {
            groups.read = 5;
            return true;
        }
        if (!readDigitRun(text, pos, groups.values[groups.read++]))
            return false;
        if (groups.read == 1 && isUpdateForm(text, pos, groups.values[0])) {
            groups = DigitGroups{{1, groups.values[0], 0}, 3};
            continue;
        }
        if (isPreReleaseMark(text, pos)) {
            groups.preRelease = true;
            return true;
        }
    }
    return true;
}

} // namespace

JavaVersion JavaVersion::allParts(int32_t value) {
    JavaVersion v;
    for (int32_t& part : v.parts)
        part = value;
    v.count = 4;
    return v;
}

bool JavaVersion::parse(const std::wstring& text, int32_t fill) {
    *this = JavaVersion();
    DigitGroups groups;
    if (!readDigitGroups(text, groups) || groups.read == 0)
        return false;
    count = groups.read;
    preRelease = groups.preRelease;
    for (int i = 0; i < 4; ++i)
        parts[i] = i < groups.read ? groups.values[i] : fill;
    return true;
}

JavaVersion parseJavaVersion(const std::wstring& text, int32_t fill) {
    JavaVersion v;
    v.parse(text, fill);
    return v;
}

int compare(const JavaVersion& a, const JavaVersion& b) {
    for (int i = 0; i < 4; ++i) {
        if (a.parts[i] != b.parts[i])
            return a.parts[i] < b.parts[i] ? -1 : 1;
    }
    if (a.preRelease != b.preRelease)
        return a.preRelease ? -1 : 1;
    return 0;
}

bool isGreater(const JavaVersion& a, const JavaVersion& b) { return compare(a, b) > 0; }
bool isLess(const JavaVersion& a, const JavaVersion& b) { return compare(a, b) < 0; }

bool matchesPrefix(const JavaVersion& candidate, const JavaVersion& preferred) {
    if (compare(candidate, preferred) == 0)
        return true;
    int significant = 4;
    while (significant > 0 && preferred.parts[significant - 1] == 0)
        --significant;
    for (int i = 0; i < significant; ++i) {
        if (candidate.parts[i] != preferred.parts[i])
            return false;
    }
    return true;
}

bool isUnset(const JavaVersion& v) {
    return compare(v, JavaVersion::allParts(0)) == 0 ||
           compare(v, JavaVersion::allParts(JavaVersion::noUpperBound)) == 0;
}

std::wstring format(const JavaVersion& v) {
    int last = 3;
    while (last >= 0 && (v.parts[last] == 0 || v.parts[last] == JavaVersion::noUpperBound))
        --last;
    if (last < 0)
        return L"0.0.0.0";
    std::wstring text;
    for (int i = 0; i <= (last < 1 ? 1 : last); ++i) {
        if (i > 0)
            text += L'.';
        text += decimalText(v.parts[i]);
    }
    return text;
}

std::wstring formatBound(const JavaVersion& v) { return v.count == 1 ? decimalText(v.parts[0]) : format(v); }
