#include "jvm/JavaCommandLine.h"
#include "jvm/VmParameters.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::wstring>;
const uint64_t GiB = 1024ull * 1024 * 1024;

TEST(VmParameters, SpacesSeparateOutsideQuotes) {
    EXPECT_EQ(splitVmParameters(L"  -Xmx512m   -Dapp.dir=\"C:\\My App\"  a\tb "),
              (Tokens{L"-Xmx512m", L"-Dapp.dir=\"C:\\My App\"", L"a\tb"}));
    EXPECT_EQ(splitVmParameters(L"-Da=\"x y\"z\" w\" -Db"), (Tokens{L"-Da=\"x y\"z\" w\"", L"-Db"}));
    // After a doubled quote the space ends the token; a quote that is never closed groups nothing.
    EXPECT_EQ(splitVmParameters(L"\"a\"\" b\" c"), (Tokens{L"\"a\"\"", L"b\"", L"c"}));
    EXPECT_EQ(splitVmParameters(L"-Da=\"b c d"), (Tokens{L"-Da=\"b", L"c", L"d"}));
    EXPECT_EQ(splitVmParameters(L"   "), Tokens{});
}

// Quote removal, percentages of 16 GiB of memory ("P") or 4 GiB of address space ("T"), and the "-Xss" size
// remembered in bytes (7 where it is left alone).
TEST(VmParameters, EachTokenIsNormalized) {
    // the token, the option it becomes, the stack size remembered
    const std::tuple<const wchar_t*, const wchar_t*, uint64_t> rows[] = {
        {L"-Dname=\"a b\"", L"-Dname=a b", 7},
        {L"\"a\"\"b\"\"c\"", L"a\"bc\"", 7},
        {L"lone\"quote", L"lone\"quote", 7},
        {L"\"-Xmx50P\"", L"-Xmx8388608K", 7},
        {L"-Xmx10:2048:4096P", L"-Xmx2097152K", 7},
        {L"-Xmx50:0:1024p", L"-Xmx1048576K", 7},
        {L"-Xmx50:4096:1024p", L"-Xmx4194304K", 7},
        {L"-Xmx50:0:18014398509481985P", L"-Xmx8388608K", 7}, // a maximum beyond 64 bits is no bound
        {L"-XmxP", L"-XmxP0K", 7},
        {L"-Xms25:128T", L"-Xms1048576K", 7},
        {L"-Xms25t", L"-Xms1048576K", 7},
        {L"-XMX50P", L"-XMX50P", 7},
        {L"-Dx=50P", L"-Dx=50P", 7},
        {L"-Xss512k", L"-Xss512k", 512 * 1024},
        {L"-Xss2M", L"-Xss2M", 2 * 1024 * 1024},
        {L"-Xss1g", L"-Xss1g", GiB},
        {L"-Xss1048576", L"-Xss1048576", 1048576},
        {L"-Xss:1k", L"-Xss:1k", 0},
        {L"-Xssx1k", L"-Xssx1k", 0},
        {L"-Xss1:2k", L"-Xss1:2k", 0},
        {L"-Xss1:2:3P", L"-Xss3072K", 3072 * 1024},
        {L"-Xss18446744073709551617", L"-Xss18446744073709551617", UINT64_MAX}, // too large saturates
        {L"-Xss18014398509481984k", L"-Xss18014398509481984k", UINT64_MAX},
    };
    for (const auto& [token, option, remembered] : rows) {
        uint64_t stack = 7;
        EXPECT_EQ(normalizeVmParameter(token, {16 * GiB, 4 * GiB}, stack), option) << token;
        EXPECT_EQ(stack, remembered) << token;
    }
    uint64_t stack = 0;
    EXPECT_EQ(normalizeVmParameter(L"-Xmx50T", {0, 128ull * 1024 * GiB}, stack), L"-Xmx68719476736K");
    EXPECT_EQ(normalizeVmParameter(L"-Xmx99999999999999999999999P", {16 * GiB, 0}, stack).substr(0, 4), L"-Xmx");
}

// The two-word forms are the end-to-end worked example's; here the "=" forms of the paths, names that only begin like
// an option's, and the options that only the java command understands, the first of which is named.
TEST(VmParameters, AsTheJavaCommandReadsThem) {
    auto sorted = sortVmParameters({L"--class-path=a;b", L"--module-path=m", L"-Dp=1", L"-da", L"--add-opens"});
    EXPECT_EQ(sorted.options, (Tokens{L"-Dp=1", L"-da", L"--add-opens"}));
    EXPECT_EQ(sorted.classPath.at(0) + L"|" + sorted.modulePath.at(0) + L"|" + sorted.refused, L"a;b|m|");
    EXPECT_EQ(sortVmParameters({L"-Dx", L"-jar", L"x.jar", L"-splash:s.png"}).refused + L"|" +
                  sortVmParameters({L"-splash:s.png", L"@file"}).refused + L"|" + sortVmParameters({L"@f"}).refused,
              L"-jar|-splash:s.png|@f");
}

TEST(VmParameters, ClassPathEntriesAndComposedPaths) {
    for (const wchar_t* absolute : {L"C:\\libs\\x.jar", L"C:", L"\\\\server\\share\\x.jar", L"\\\\"})
        EXPECT_TRUE(isAbsoluteClassPathEntry(absolute)) << absolute;
    for (const wchar_t* relative : {L"\\lib\\app.jar", L"x", L"", L"lib\\a.jar", L":x"})
        EXPECT_FALSE(isAbsoluteClassPathEntry(relative)) << relative;
    EXPECT_EQ(relativeClassPathPattern(L"C:\\App\\", L"\\lib/b*.jar") + L"|" + patternFolder(L"C:\\lib/b*.jar"),
              L"C:\\App\\lib/b*.jar|C:\\lib/");
    EXPECT_EQ(relativeClassPathPattern(L"C:\\App\\", L"a.jar") + L"|" + patternFolder(L"a*.jar"), L"C:\\App\\a.jar|");
    EXPECT_EQ(classPathForVm(L";a.jar;;C:\\b;", L"C:\\App\\") + L"|" + classPathForVm(L"a;;C:\\App\\app.exe", L"C:\\") +
                  L"|" + classPathForVm(L"", L"C:\\") + L"|" + pathWithoutEmptyEntries(L";a;;b;"),
              L"a.jar;C:\\b;C:\\App\\|a;C:\\App\\app.exe|C:\\|a;b");
    const std::wstring jvm = L"C:\\Java\\jre\\bin\\server\\jvm.dll";
    EXPECT_EQ(composeLibraryPath(L"native", L"C:\\App\\", jvm), L"native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
    EXPECT_EQ(composeLibraryPath(L"a;b;", L"C:\\App\\", jvm), L"a;b;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
    EXPECT_EQ(composeSystemPath(L"", jvm), L"%Path%;C:\\Java\\jre\\bin");
    EXPECT_EQ(composeSystemPath(L"C:\\tools", jvm), L"C:\\tools;%Path%;C:\\Java\\jre\\bin");
    EXPECT_EQ(composeSystemPath(L"C:\\tools;", jvm), L"C:\\tools;%Path%;C:\\Java\\jre\\bin");
}

} // namespace
