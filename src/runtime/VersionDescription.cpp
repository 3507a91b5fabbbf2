#include "VersionDescription.h"

#include "support/TextFormat.h"

std::wstring describeVersionRange(const JavaVersion& minVersion, const JavaVersion& maxVersion,
                                  const VersionRangeTexts& texts) {
    bool hasMinimum = !isUnset(minVersion);
    bool hasMaximum = !isUnset(maxVersion);
    if (!hasMinimum && !hasMaximum)
        return texts.latest;
    if (!hasMinimum)
        return formatText(texts.maximum, {format(maxVersion)});
    if (!hasMaximum)
        return formatText(texts.minimum, {format(minVersion)});
    if (compare(minVersion, maxVersion) == 0)
        return formatText(texts.exact, {format(minVersion)});
    return formatText(texts.between, {format(minVersion), format(maxVersion)});
}
