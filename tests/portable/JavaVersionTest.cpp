#include "runtime/JavaVersion.h"

#include <gtest/gtest.h>

namespace {

JavaVersion v(int a, int b, int c, int d) {
    JavaVersion version;
    version.parts[0] = a;
    version.parts[1] = b;
    version.parts[2] = c;
    version.parts[3] = d;
    return version;
}

void expectParts(const JavaVersion& version, int a, int b, int c, int d) {
    EXPECT_EQ(version.parts[0], a);
    EXPECT_EQ(version.parts[1], b);
    EXPECT_EQ(version.parts[2], c);
    EXPECT_EQ(version.parts[3], d);
}

TEST(JavaVersionParse, ReadsGroupsAndFillsTheRest) {
    JavaVersion version = parseJavaVersion(L"1.7.0_25", 0);
    expectParts(version, 1, 7, 0, 25);
    EXPECT_EQ(version.count, 4);

    version = parseJavaVersion(L"1.8", 0);
    expectParts(version, 1, 8, 0, 0);
    EXPECT_EQ(version.count, 2);

    version = parseJavaVersion(L"1.6", 65535);
    expectParts(version, 1, 6, 65535, 65535);
    EXPECT_EQ(format(version), L"1.6");
}

TEST(JavaVersionParse, SkipsLeadingTextAndTreatsAnyNonDigitsAsSeparator) {
    expectParts(parseJavaVersion(L"jre1.8.0_45", 0), 1, 8, 0, 45);
    expectParts(parseJavaVersion(L"jdk-11", 0), 11, 0, 0, 0);
    expectParts(parseJavaVersion(L"1..2", 0), 1, 2, 0, 0);
    JavaVersion build = parseJavaVersion(L"1.8.0_251-b08", 0);
    expectParts(build, 1, 8, 0, 251);
    EXPECT_EQ(build.count, 5);
}

TEST(JavaVersionParse, CountsFiveForSurplusGroups) {
    JavaVersion version = parseJavaVersion(L"1.2.3.4.5", 0);
    expectParts(version, 1, 2, 3, 4);
    EXPECT_EQ(version.count, 5);
}

TEST(JavaVersionParse, FailuresLeaveAllZero) {
    for (const wchar_t* text : {L"", L"abc", L"99999999999", L"1.99999999999"}) {
        JavaVersion version;
        version.parts[2] = 7;
        EXPECT_FALSE(version.parse(text, 65535)) << text;
        expectParts(version, 0, 0, 0, 0);
        EXPECT_EQ(version.count, 0);
        EXPECT_EQ(format(version), L"0.0.0.0");
        EXPECT_TRUE(isUnset(version));
    }
}

TEST(JavaVersionParse, LargestSignedValueStillFits) {
    JavaVersion version = parseJavaVersion(L"2147483647.1", 0);
    EXPECT_EQ(version.parts[0], 2147483647);
    EXPECT_FALSE(version.parse(L"2147483648", 0));
}

TEST(JavaVersionOrder, ComparesPartByPartAsNumbers) {
    EXPECT_EQ(compare(v(1, 8, 0, 0), v(1, 8, 0, 0)), 0);
    EXPECT_EQ(compare(v(1, 10, 0, 0), v(1, 9, 0, 0)), 1);
    EXPECT_EQ(compare(v(1, 8, 0, 0), v(1, 8, 0, 1)), -1);
    EXPECT_TRUE(isGreater(v(2, 0, 0, 0), v(1, 65535, 65535, 65535)));
    EXPECT_TRUE(isLess(v(1, 6, 0, 18), v(1, 6, 0, 20)));
}

TEST(JavaVersionPrefix, TrailingZerosAreWildcards) {
    EXPECT_TRUE(matchesPrefix(v(1, 6, 0, 45), v(1, 6, 0, 0)));
    EXPECT_FALSE(matchesPrefix(v(1, 7, 0, 0), v(1, 6, 0, 0)));
    EXPECT_TRUE(matchesPrefix(v(1, 8, 0, 251), v(1, 0, 0, 0)));
    EXPECT_TRUE(matchesPrefix(v(9, 9, 9, 9), v(0, 0, 0, 0)));
    EXPECT_TRUE(matchesPrefix(v(1, 6, 0, 20), v(1, 6, 0, 20)));
    EXPECT_FALSE(matchesPrefix(v(1, 6, 0, 21), v(1, 6, 0, 20)));
    // A zero inside the significant parts must match exactly.
    EXPECT_TRUE(matchesPrefix(v(1, 0, 3, 7), v(1, 0, 3, 0)));
    EXPECT_FALSE(matchesPrefix(v(1, 1, 3, 7), v(1, 0, 3, 0)));
}

TEST(JavaVersionUnset, OnlyAllZeroOrAllMaximum) {
    EXPECT_TRUE(isUnset(v(0, 0, 0, 0)));
    EXPECT_TRUE(isUnset(v(65535, 65535, 65535, 65535)));
    EXPECT_FALSE(isUnset(v(0, 0, 0, 65535)));
    EXPECT_FALSE(isUnset(v(1, 0, 0, 0)));
}

TEST(JavaVersionFormat, PrintsAtLeastTwoParts) {
    EXPECT_EQ(format(v(1, 0, 0, 0)), L"1.0");
    EXPECT_EQ(format(v(11, 0, 0, 0)), L"11.0");
    EXPECT_EQ(format(v(1, 7, 65535, 65535)), L"1.7");
    EXPECT_EQ(format(v(1, 8, 0, 251)), L"1.8.0.251");
    EXPECT_EQ(format(v(1, 65535, 0, 3)), L"1.65535.0.3");
    EXPECT_EQ(format(v(0, 0, 0, 5)), L"0.0.0.5");
    EXPECT_EQ(format(v(65535, 65535, 65535, 65535)), L"0.0.0.0");
}

} // namespace
