#pragma once
// The words that tell the user which Java version the application needs, for the "JRE Not Found" message.
// Portable: no Windows headers; the caller loads the texts from the string table.
#include "JavaVersion.h"

#include <string>

struct VersionRangeTexts {
    std::wstring latest;  // no bound at all
    std::wstring maximum; // "%s": the maximum
    std::wstring minimum; // "%s": the minimum
    std::wstring exact;   // "%s": both bounds, equal
    std::wstring between; // "%s" and "%s": minimum, then maximum
};

std::wstring describeVersionRange(const JavaVersion& minVersion, const JavaVersion& maxVersion,
                                  const VersionRangeTexts& texts);
