#include "support/BuiltInSettings.h"
#include "runtime/RuntimePolicy.h"
#include "support/TextCompare.h"

#include <gtest/gtest.h>

namespace {

TEST(BuiltInSettingsText, SectionsPairsAndWhatIsIgnored) {
    std::wstring text = L"\xFEFF"
                        L"orphan=dropped\r\n"
                        L"  [Application] \r\n"
                        L"\r\n"
                        L"  Main Class =  com.example.App  \r\n"
                        L"no equals sign\r\n"
                        L"Cmd=a=b\r\n"
                        L"[ Spaced ]\r\n"
                        L"k=v";
    BuiltInSettings table = parseBuiltInSettings(text);
    ASSERT_EQ(table.sections.size(), 2u);
    EXPECT_EQ(table.sections[0].name, L"Application");
    EXPECT_EQ(table.lookup(L"Application", L"Main Class"), L"com.example.App");
    EXPECT_EQ(table.lookup(L"Application", L"Cmd"), L"a=b");
    EXPECT_EQ(table.lookup(L"Application", L"orphan"), L"");
    // Names are taken as written between the brackets and compared case-sensitively.
    EXPECT_EQ(table.lookup(L" Spaced ", L"k"), L"v");
    EXPECT_EQ(table.lookup(L"Spaced", L"k"), L"");
    EXPECT_EQ(table.lookup(L"application", L"Main Class"), L"");
}

TEST(BuiltInSettingsText, FirstSectionAndFirstPairWin) {
    BuiltInSettings table = parseBuiltInSettings(L"[A]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(table.lookup(L"A", L"k"), L"1");
    // The first section of the name decides even when a later one has the key.
    EXPECT_EQ(table.lookup(L"A", L"j"), L"");
}

TEST(BuiltInSettingsText, ByteOrderMarkOnlyDroppedAtTheStart) {
    BuiltInSettings table = parseBuiltInSettings(L"\xFEFF[A]\r\nk=\xFEFFv");
    EXPECT_EQ(table.lookup(L"A", L"k"), L"\xFEFFv");
}

TEST(LayeredValue, FileReplacesPlusAppends) {
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"-Xmx2g", L"-Dx=1"), L"-Xmx2g");
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"", L"-Dx=1"), L"-Xmx1g -Dx=1");
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"", L" -Dx=1"), L"-Xmx1g -Dx=1");
    EXPECT_EQ(layeredValue(L"", L"", L"-Xmx512m"), L" -Xmx512m");
    EXPECT_EQ(layeredValue(L"built", L"", L""), L"built");
    EXPECT_EQ(layeredValue(L"", L"", L""), L"");
}

TEST(SettingsFlags, YesIgnoresCaseOfAsciiLettersOnly) {
    for (const wchar_t* yes : {L"Yes", L"yes", L"YES", L"yEs"})
        EXPECT_TRUE(isYes(yes)) << yes;
    for (const wchar_t* no : {L"", L"y", L"Yes ", L"true", L"1"})
        EXPECT_FALSE(isYes(no)) << no;
}

TEST(RuntimePolicySettings, JvmTypeIsCaseSensitive) {
    EXPECT_EQ(jvmTypeFromSetting(L"server"), JvmType::Server);
    EXPECT_EQ(jvmTypeFromSetting(L"favor_server"), JvmType::FavorServer);
    EXPECT_EQ(jvmTypeFromSetting(L"Server"), JvmType::Default);
    EXPECT_EQ(jvmTypeFromSetting(L""), JvmType::Default);
}

TEST(RuntimePolicySettings, JvmSourceTable) {
    struct Row {
        const wchar_t* value;
        bool jdk, jre, favor;
    } rows[] = {
        {L"", true, true, true},
        {L"favor_JRE", false, true, true},
        {L"favor_JDK", true, false, true},
        {L"only_JDK", true, false, false},
        {L"only_JRE", false, true, false},
        {L"only_jre", false, false, false},
        {L"favour_JRE", false, false, false},
    };
    for (const Row& row : rows) {
        RuntimePolicy policy;
        applyJvmSource(policy, row.value);
        EXPECT_EQ(policy.jdkWanted, row.jdk) << row.value;
        EXPECT_EQ(policy.jreWanted, row.jre) << row.value;
        EXPECT_EQ(policy.favorMode, row.favor) << row.value;
    }
}

TEST(RuntimePolicySettings, VmProviderTableIgnoresCase) {
    struct Row {
        const wchar_t* value;
        bool flags[6]; // accept Sun, JRockit, IBM; favour Sun, JRockit, IBM
    } rows[] = {
        {L"", {true, false, false, true, false, false}},
        {L"sun", {true, false, false, true, false, false}},
        {L"JRockit", {false, true, false, false, true, false}},
        {L"IBM", {false, false, true, false, false, true}},
        {L"Favor_Sun", {true, true, true, true, false, false}},
        {L"favor_jrockit", {true, true, true, false, true, false}},
        {L"FAVOR_IBM", {true, true, true, false, false, true}},
        {L"any", {true, true, true, false, false, false}},
    };
    for (const Row& row : rows) {
        RuntimePolicy policy;
        applyVmProvider(policy, row.value);
        bool actual[6] = {policy.acceptSun, policy.acceptJRockit, policy.acceptIbm,
                          policy.favorSun,  policy.favorJRockit,  policy.favorIbm};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(actual[i], row.flags[i]) << row.value << " flag " << i;
    }
}

TEST(RuntimePolicySettings, VersionBounds) {
    JavaVersion anyMin = minVersionFromSetting(L"any");
    EXPECT_TRUE(isUnset(anyMin));
    EXPECT_EQ(anyMin.count, 4);
    JavaVersion anyMax = maxVersionFromSetting(L"any");
    EXPECT_EQ(anyMax.parts[0], 65535);
    EXPECT_EQ(anyMax.count, 4);
    // "Any" is not the keyword: no digits, so no bound at all.
    EXPECT_EQ(maxVersionFromSetting(L"Any").parts[0], 0);
    JavaVersion max17 = maxVersionFromSetting(L"1.7");
    EXPECT_EQ(max17.parts[2], 65535);
    EXPECT_EQ(max17.parts[3], 65535);
    EXPECT_EQ(minVersionFromSetting(L"1.6.0_20").parts[3], 20);
    EXPECT_TRUE(isUnset(maxVersionFromSetting(L"")));
}

} // namespace
