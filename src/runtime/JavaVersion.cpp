#include "JavaVersion.h"

#include "support/TextFormat.h"

#include <cstddef>

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
    size_t pos = nextDigit(text, 0);
    if (pos >= text.size())
        return false;
    int k = 0;
    for (;;) {
        if (!readDigitRun(text, pos, parts[k])) {
            *this = JavaVersion();
            return false;
        }
        pos = nextDigit(text, pos);
        if (pos >= text.size()) {
            count = k + 1;
            break;
        }
        if (++k == 4) {
            count = 5;
            break;
        }
    }
    for (int i = count; i < 4; ++i)
        parts[i] = fill;
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
