#include "VersionDescription.h"

#include "support/TextFormat.h"

std::wstring describeVersionRange(const JavaVersion& minVersion, const JavaVersion& maxVersion,
                                  const VersionRangeTexts& texts) {
    bool hasMinimum = !isUnset(minVersion);
    bool hasMaximum = !isUnset(maxVersion);
    if (!hasMinimum && !hasMaximum)
        return texts.latest;
    std::wstring minimum = formatBound(minVersion);
    std::wstring maximum = formatBound(maxVersion);
    if (!hasMinimum)
        return formatText(texts.maximum, {maximum});
    if (!hasMaximum)
        return formatText(texts.minimum, {minimum});
    // "1.8" to "1.8" admits every 1.8 and nothing else: that one version is what is needed.
    if (minimum == maximum)
        return formatText(texts.exact, {minimum});
    return formatText(texts.between, {minimum, maximum});
}
