#pragma once
// Java version numbers as they appear in settings values and registry subkey names (1.8.0_251, 11.0.2, jre1.7).
// Portable: no Windows headers.
#include <cstdint>
#include <string>

struct JavaVersion {
    static constexpr int32_t noUpperBound = 65535;

    int32_t parts[4] = {0, 0, 0, 0};
    // Digit groups read by the last parse: 0 after a failure, 1 to 4, or 5 when the text held more than four.
    int32_t count = 0;
    // An early-access build ("17-ea"): it ranks below the release of the same number.
    bool preRelease = false;

    // Pulls up to four numbers out of any text; parts the text does not supply get `fill`. "8u392" reads as
    // 1.8.0.392 (four parts), and "-ea" after a number marks a pre-release and ends the version.
    bool parse(const std::wstring& text, int32_t fill);

    static JavaVersion allParts(int32_t value);
};

JavaVersion parseJavaVersion(const std::wstring& text, int32_t fill);

// -1, 0 or +1: the order of a relative to b, part by part from major to update, then a pre-release first.
int compare(const JavaVersion& a, const JavaVersion& b);
bool isGreater(const JavaVersion& a, const JavaVersion& b);
bool isLess(const JavaVersion& a, const JavaVersion& b);

// Trailing zero parts of the preferred version act as wildcards; the parts before them must match exactly.
bool matchesPrefix(const JavaVersion& candidate, const JavaVersion& preferred);

// All parts 0 (no lower bound) or all parts 65535 (no upper bound).
bool isUnset(const JavaVersion& v);

// The short printed form used in messages: at least two parts, trailing 0 and 65535 parts dropped.
std::wstring format(const JavaVersion& v);

// A bound from the settings as it was written: a single number prints alone (a maximum of 11 as 11, not as
// 11.65535; a minimum of 65535 as 65535), longer bounds as `format` prints them.
std::wstring formatBound(const JavaVersion& v);
