#include "runtime/CandidateOrder.h"
#include "runtime/ImageHeader.h"
#include "runtime/VersionDescription.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A candidate whose home names it, so that orders read plainly in the expectations.
JreCandidate candidate(const wchar_t* home, const wchar_t* version, bool isFavored = true, bool isServer = false) {
    JreCandidate result;
    result.home = home;
    result.version = parseJavaVersion(version, 0);
    result.isFavored = isFavored;
    result.isServer = isServer;
    return result;
}

std::vector<std::wstring> homes(const std::vector<JreCandidate>& candidates) {
    std::vector<std::wstring> result;
    for (const JreCandidate& c : candidates)
        result.push_back(c.home);
    return result;
}

using Homes = std::vector<std::wstring>;

TEST(RuntimeCandidateOrder, FavouredFirstOnlyInFavorMode) {
    RuntimePolicy policy;
    std::vector<JreCandidate> list = {candidate(L"old-favoured", L"1.6"), candidate(L"new-plain", L"1.8", false)};
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"old-favoured", L"new-plain"}));

    policy.favorMode = false;
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"new-plain", L"old-favoured"}));
}

TEST(RuntimeCandidateOrder, ServerFirstOnlyUnderFavorServer) {
    RuntimePolicy policy;
    std::vector<JreCandidate> list = {candidate(L"client-1.8", L"1.8"), candidate(L"server-1.7", L"1.7", true, true)};
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"client-1.8", L"server-1.7"}));

    policy.jvmType = JvmType::FavorServer;
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"server-1.7", L"client-1.8"}));

    // Favoured still outranks server.
    list = {candidate(L"plain-server", L"1.9", false, true), candidate(L"favoured-client", L"1.5")};
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"favoured-client", L"plain-server"}));
}

TEST(RuntimeCandidateOrder, HigherVersionFirstAndTiesKeepTheFoundOrder) {
    RuntimePolicy policy;
    std::vector<JreCandidate> list = {
        candidate(L"sun-jdk", L"1.7"),     candidate(L"sun-jre", L"1.8"), candidate(L"jrockit-jre", L"1.7"),
        candidate(L"jrockit-jdk", L"1.7"), candidate(L"ibm-jre", L"1.8"), candidate(L"sun-jre-251", L"1.8.0_251"),
    };
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"sun-jre-251", L"sun-jre", L"ibm-jre", L"sun-jdk", L"jrockit-jre", L"jrockit-jdk"}));
}

TEST(RuntimeCandidateOrder, EmptyAndSingleListsAreLeftAlone) {
    RuntimePolicy policy;
    std::vector<JreCandidate> list;
    orderCandidates(policy, list);
    EXPECT_TRUE(list.empty());
    list = {candidate(L"only", L"1.8")};
    orderCandidates(policy, list);
    EXPECT_EQ(homes(list), (Homes{L"only"}));
}

TEST(RuntimeCandidateChoice, PreferredVersionsOutrankEveryOrderingKey) {
    RuntimePolicy policy;
    policy.jvmType = JvmType::FavorServer;
    std::vector<JreCandidate> list = {candidate(L"1.8.0_251", L"1.8.0_251", true, true),
                                      candidate(L"1.7.0_45", L"1.7.0_45", false),
                                      candidate(L"1.7.0_80", L"1.7.0_80", false)};
    policy.preferredVersions = {L"1.7", L"1.8"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.7.0_80");
    policy.preferredVersions = {L"1.9", L"1.8"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.8.0_251");
    policy.preferredVersions = {L"1.5"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.8.0_251");
    policy.preferredVersions = {L"1.7.0_45"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.7.0_45");
}

TEST(RuntimeCandidateChoice, EmptyOrDigitlessEntryTakesTheFirstOrderedCandidate) {
    RuntimePolicy policy;
    std::vector<JreCandidate> list = {candidate(L"1.6", L"1.6"), candidate(L"1.8", L"1.8")};
    policy.preferredVersions = {L"", L"1.6"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.8");
    policy.preferredVersions = {L"latest", L"1.6"};
    EXPECT_EQ(chooseCandidate(policy, list).home, L"1.8");
}

TEST(RuntimeVendorKeys, SearchedAndFavouredFollowTheSettings) {
    const std::vector<VendorKey>& keys = vendorKeys();
    ASSERT_EQ(keys.size(), 5u);
    auto searched = [&](const RuntimePolicy& policy) {
        std::vector<bool> result;
        for (const VendorKey& key : keys)
            result.push_back(isKeySearched(policy, key));
        return result;
    };
    auto favoured = [&](const RuntimePolicy& policy) {
        std::vector<bool> result;
        for (const VendorKey& key : keys)
            result.push_back(isKeyFavored(policy, key));
        return result;
    };
    using Flags = std::vector<bool>;

    RuntimePolicy defaults;
    EXPECT_EQ(searched(defaults), (Flags{true, true, false, false, false}));
    EXPECT_EQ(favoured(defaults), (Flags{true, true, false, false, false}));

    RuntimePolicy favorJre;
    applyJvmSource(favorJre, L"favor_JRE");
    EXPECT_EQ(searched(favorJre), (Flags{true, true, false, false, false}));
    EXPECT_EQ(favoured(favorJre), (Flags{false, true, false, false, false}));

    RuntimePolicy onlyJre;
    applyJvmSource(onlyJre, L"only_JRE");
    applyVmProvider(onlyJre, L"any");
    EXPECT_EQ(searched(onlyJre), (Flags{false, true, true, false, true}));
    EXPECT_EQ(favoured(onlyJre), (Flags{false, false, false, false, false}));

    RuntimePolicy misspelt;
    applyJvmSource(misspelt, L"favour_JRE");
    EXPECT_EQ(searched(misspelt), (Flags{false, false, false, false, false}));

    RuntimePolicy ibm;
    applyVmProvider(ibm, L"iBm");
    EXPECT_EQ(searched(ibm), (Flags{false, false, false, false, true}));
    EXPECT_EQ(favoured(ibm), (Flags{false, false, false, false, true}));

    RuntimePolicy favorJrockit;
    applyVmProvider(favorJrockit, L"favor_jrockit");
    applyJvmSource(favorJrockit, L"favor_JDK");
    EXPECT_EQ(searched(favorJrockit), (Flags{true, true, true, true, true}));
    EXPECT_EQ(favoured(favorJrockit), (Flags{false, false, false, true, false}));
}

VersionRangeTexts rangeTexts() {
    return {L"latest version", L"maximum version %s", L"minimum version %s", L"version %s is required",
            L"version between %s and %s"};
}

TEST(RuntimeVersionDescription, NamesTheBoundsThatAreSet) {
    VersionRangeTexts texts = rangeTexts();
    JavaVersion none = minVersionFromSetting(L"any");
    EXPECT_EQ(describeVersionRange(none, maxVersionFromSetting(L"any"), texts), L"latest version");
    EXPECT_EQ(describeVersionRange(none, maxVersionFromSetting(L""), texts), L"latest version");
    EXPECT_EQ(describeVersionRange(minVersionFromSetting(L"1.6"), maxVersionFromSetting(L""), texts),
              L"minimum version 1.6");
    EXPECT_EQ(describeVersionRange(none, maxVersionFromSetting(L"1.8"), texts), L"maximum version 1.8");
    EXPECT_EQ(describeVersionRange(minVersionFromSetting(L"1.7"), maxVersionFromSetting(L"1.7"), texts),
              L"version between 1.7 and 1.7");
    EXPECT_EQ(describeVersionRange(minVersionFromSetting(L"1.7.0_25"), maxVersionFromSetting(L"1.7.0_25"), texts),
              L"version 1.7.0.25 is required");
}

// A minimal image: "MZ", the NT header offset at 0x3C, "PE\0\0" and the machine value.
std::vector<uint8_t> image(uint32_t ntOffset, uint16_t machine, size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    std::memcpy(&bytes[0x3C], &ntOffset, 4);
    if (uint64_t(ntOffset) + 6 <= size) {
        std::memcpy(&bytes[ntOffset], "PE\0\0", 4);
        std::memcpy(&bytes[ntOffset + 4], &machine, 2);
    }
    return bytes;
}

TEST(RuntimeImageHeader, RecognisesOnlyWholeX86Headers) {
    EXPECT_TRUE(isX86Image(image(0x80, 0x014C, 0x100).data(), 0x100));
    EXPECT_FALSE(isX86Image(image(0x80, 0x8664, 0x100).data(), 0x100));
    EXPECT_FALSE(isX86Image(image(0x80, 0x0200, 0x100).data(), 0x100));

    std::vector<uint8_t> exact = image(0x40, 0x014C, 0x46);
    EXPECT_TRUE(isX86Image(exact.data(), exact.size()));
    EXPECT_FALSE(isX86Image(exact.data(), exact.size() - 1));

    std::vector<uint8_t> badSignature = image(0x80, 0x014C, 0x100);
    badSignature[0x82] = 'X';
    EXPECT_FALSE(isX86Image(badSignature.data(), badSignature.size()));
    std::vector<uint8_t> notMz = image(0x80, 0x014C, 0x100);
    notMz[0] = 'Z';
    EXPECT_FALSE(isX86Image(notMz.data(), notMz.size()));
}

TEST(RuntimeImageHeader, OffsetsPastTheEndAndShortInputAreRejected) {
    for (uint32_t offset : {0x100u, 0xFFu, 0xFBu, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFAu}) {
        std::vector<uint8_t> bytes = image(offset, 0x014C, 0x100);
        EXPECT_FALSE(isX86Image(bytes.data(), bytes.size())) << offset;
    }
    std::vector<uint8_t> shortFile = {'M', 'Z', 0, 0};
    EXPECT_FALSE(isX86Image(shortFile.data(), shortFile.size()));
    EXPECT_FALSE(isX86Image(nullptr, 0));
    EXPECT_FALSE(isX86Image(shortFile.data(), 0));
}

} // namespace
