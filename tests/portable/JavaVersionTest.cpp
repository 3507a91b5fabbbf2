#include "runtime/JavaVersion.h"
#include "runtime/RuntimePolicy.h"
#include "runtime/VersionDescription.h"

#include <gtest/gtest.h>

#include <array>

namespace {

JavaVersion v(const wchar_t* text, int32_t fill = 0) { return parseJavaVersion(text, fill); }

// "major.minor.micro.update/count": the whole value in one comparable text.
std::string whole(const JavaVersion& version) {
    std::string text;
    for (int32_t part : version.parts)
        text += std::to_string(part) + ".";
    return text.substr(0, text.size() - 1) + "/" + std::to_string(version.count);
}

TEST(JavaVersion, ParsesAnyTextIntoFourParts) {
    EXPECT_EQ(whole(v(L"1.7.0_25")), "1.7.0.25/4");
    EXPECT_EQ(whole(v(L"1.6", 65535)), "1.6.65535.65535/2");
    EXPECT_EQ(whole(v(L"jre1..8-b")), "1.8.0.0/2");
    EXPECT_EQ(whole(v(L"1.8.0_251-b08", 7)), "1.8.0.251/5");
    EXPECT_EQ(whole(v(L"2147483647")), "2147483647.0.0.0/1");
    EXPECT_EQ(whole(v(L"8u392")), "1.8.0.392/4") << "Java 8 update 392";
    EXPECT_EQ(whole(v(L"jdk8u392-b08")), "1.8.0.392/5");
    EXPECT_EQ(whole(v(L"17-ea+35", 9)), "17.9.9.9/1") << "the build of a pre-release is no part";
    for (const wchar_t* failing : {L"", L"abc", L"2147483648", L"1.99999999999"}) {
        JavaVersion version = v(L"1.2.3.4");
        EXPECT_FALSE(version.parse(failing, 9)) << failing;
        EXPECT_EQ(whole(version), "0.0.0.0/0") << failing;
    }
    EXPECT_EQ(whole(minVersionFromSetting(L"any")), "0.0.0.0/4");
    EXPECT_EQ(whole(maxVersionFromSetting(L"any")), "65535.65535.65535.65535/4");
    EXPECT_EQ(whole(maxVersionFromSetting(L"Any")), "0.0.0.0/0") << "the keyword is case-sensitive";
    EXPECT_EQ(whole(maxVersionFromSetting(L"1.7")), "1.7.65535.65535/2");
}

TEST(JavaVersion, OrderPrefixUnsetAndFormat) {
    EXPECT_EQ(compare(v(L"1.8"), v(L"1.8.0.0")), 0);
    EXPECT_EQ(compare(v(L"1.10"), v(L"1.9")), 1);
    EXPECT_EQ(compare(v(L"1.8"), v(L"1.8.0.1")), -1);
    EXPECT_TRUE(isGreater(v(L"2"), v(L"1", 65535)));
    EXPECT_TRUE(isLess(v(L"1.6.0_18"), v(L"1.6.0_20")));
    // A pre-release ranks below its release and above every earlier version; "-jre" names a kind, not a stage.
    EXPECT_TRUE(isLess(v(L"17-ea"), v(L"17")) && isLess(v(L"17.0.1-EA"), v(L"17.0.1", 65535)));
    EXPECT_TRUE(isGreater(v(L"17-ea"), v(L"16.0.2")) && compare(v(L"17-ea"), v(L"17.0-ea")) == 0);
    EXPECT_EQ(compare(v(L"zulu-17-jre"), v(L"17")), 0);
    EXPECT_TRUE(matchesPrefix(v(L"1.6.0_45"), v(L"1.6")));
    EXPECT_TRUE(matchesPrefix(v(L"1.8.0_251"), v(L"1.0")));
    EXPECT_TRUE(matchesPrefix(v(L"9.9.9.9"), v(L"")));
    EXPECT_TRUE(matchesPrefix(v(L"1.0.3.7"), v(L"1.0.3")));
    EXPECT_FALSE(matchesPrefix(v(L"1.1.3.7"), v(L"1.0.3")));
    EXPECT_FALSE(matchesPrefix(v(L"1.6.0_21"), v(L"1.6.0_20")));
    EXPECT_TRUE(isUnset(v(L"", 65535)) && isUnset(v(L"65535.65535.65535.65535")));
    EXPECT_FALSE(isUnset(v(L"0.0.0.65535")) || isUnset(v(L"1")));
    for (const wchar_t* printed : {L"1.0", L"11.0", L"1.8.0.251", L"1.65535.0.3", L"0.0.0.5", L"0.0.0.0"})
        EXPECT_EQ(format(v(printed)), printed);
    EXPECT_EQ(format(v(L"1.7", 65535)), L"1.7");
    EXPECT_EQ(format(v(L"1")), L"1.0");
    EXPECT_EQ(format(v(L"65535.65535.65535.65535")), L"0.0.0.0");
}

// The bound as the settings wrote it; equal bounds ask for that one version.
TEST(VersionDescription, BoundsAsWritten) {
    const VersionRangeTexts texts{L"latest", L"max %s", L"min %s", L"exactly %s", L"%s to %s"};
    const std::array<const wchar_t*, 3> cases[] = {{L"", L"11", L"max 11"},
                                                   {L"65535", L"", L"min 65535"},
                                                   {L"1.0", L"", L"min 1.0"},
                                                   {L"1.8", L"1.8", L"exactly 1.8"},
                                                   {L"9", L"17.0.2", L"9 to 17.0.2"}};
    for (const auto& [min, max, described] : cases)
        EXPECT_EQ(describeVersionRange(minVersionFromSetting(min), maxVersionFromSetting(max), texts), described);
}

} // namespace
