#include "support/BuiltInSettings.h"
#include "runtime/RuntimePolicy.h"
#include "support/TextCompare.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsText, BuiltInSectionsPairsAndWhatIsDropped) {
    BuiltInSettings table =
        parseBuiltInSettings(L"\xFEFF"
                             L"orphan=dropped\r\n  [Application] \r\n\r\n"
                             L"  Main Class =  com.example.App  \r\nno equals sign\r\nCmd=a=b\r\n"
                             L"k=\xFEFFv\r\nk=second\r\n  \r\nblank=  \r\n[ Spaced ]\r\nk=v\r\n[Application]\r\nj=4");
    EXPECT_EQ(table.lookup(L"Application", L"Main Class"), L"com.example.App");
    EXPECT_EQ(table.lookup(L"Application", L"Cmd"), L"a=b");
    EXPECT_EQ(table.lookup(L"Application", L"k"), L"\xFEFFv") << "the first pair wins; a mark inside stays";
    EXPECT_EQ(table.lookup(L"Application", L"orphan"), L"");
    EXPECT_EQ(table.sections.front().pairs.back(), std::make_pair(std::wstring(L"blank"), std::wstring()));
    EXPECT_EQ(table.lookup(L"Application", L"j"), L"") << "the first section of a name decides";
    EXPECT_EQ(table.lookup(L" Spaced ", L"k"), L"v");
    EXPECT_EQ(table.lookup(L"Spaced", L"k"), L"");
    EXPECT_EQ(table.lookup(L"application", L"Cmd"), L"");
}

TEST(SettingsText, LayersAndCaseRules) {
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"-Xmx2g", L"-Dx=1"), L"-Xmx2g");
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"", L"-Dx=1"), L"-Xmx1g -Dx=1");
    EXPECT_EQ(layeredValue(L"-Xmx1g", L"", L" -Dx=1"), L"-Xmx1g -Dx=1");
    EXPECT_EQ(layeredValue(L"", L"", L"-Xmx512m"), L" -Xmx512m");
    EXPECT_EQ(layeredValue(L"built", L"", L""), L"built");
    for (const wchar_t* yes : {L"Yes", L"yes", L"YES", L"yEs"})
        EXPECT_TRUE(isYes(yes)) << yes;
    for (const wchar_t* no : {L"", L"y", L"Yes ", L"Yet", L"Y\u00C9S"})
        EXPECT_FALSE(isYes(no)) << no;
    EXPECT_TRUE(isAscii(L"Main Class\x7F") && !isAscii(L"Cl\u00E9"));
    EXPECT_EQ(jvmTypeFromSetting(L"server"), JvmType::Server);
    EXPECT_EQ(jvmTypeFromSetting(L"favor_server"), JvmType::FavorServer);
    EXPECT_EQ(jvmTypeFromSetting(L"Server"), JvmType::Default);
}

} // namespace
