#include "jvm/VmParameters.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::wstring>;
const uint64_t GiB = 1024ull * 1024 * 1024;

TEST(SplitVmParameters, SpacesSeparateOutsideQuotes) {
    EXPECT_EQ(splitVmParameters(L"  -Xmx512m   -Dapp.dir=\"C:\\My App\"  "),
              (Tokens{L"-Xmx512m", L"-Dapp.dir=\"C:\\My App\""}));
    EXPECT_EQ(splitVmParameters(L"-Da=\"x y\"z\" w\" -Db"), (Tokens{L"-Da=\"x y\"z\" w\"", L"-Db"}));
    EXPECT_EQ(splitVmParameters(L"a\tb c"), (Tokens{L"a\tb", L"c"}));
    EXPECT_EQ(splitVmParameters(L""), Tokens{});
    EXPECT_EQ(splitVmParameters(L"   "), Tokens{});
}

TEST(SplitVmParameters, DoubledQuoteAfterClosingIsTakenAlong) {
    // After a doubled quote the space ends the token; the lone quote of the next token is unclosed.
    EXPECT_EQ(splitVmParameters(L"\"a\"\" b\" c"), (Tokens{L"\"a\"\"", L"b\"", L"c"}));
}

TEST(SplitVmParameters, UnclosedQuoteEndsAtTheFirstSpace) {
    EXPECT_EQ(splitVmParameters(L"-Da=\"b c d"), (Tokens{L"-Da=\"b", L"c", L"d"}));
}

TEST(RemoveQuotes, Table) {
    EXPECT_EQ(removeQuotes(L"-Dname=\"a b\""), L"-Dname=a b");
    EXPECT_EQ(removeQuotes(L"\"-Xmx50P\""), L"-Xmx50P");
    EXPECT_EQ(removeQuotes(L"\"a\"\"b\""), L"a\"b\"");
    EXPECT_EQ(removeQuotes(L"lone\"quote"), L"lone\"quote");
    EXPECT_EQ(removeQuotes(L"\"\"\"\""), L"\"\"");
    EXPECT_EQ(removeQuotes(L"\"a\"\"b\"\"c\""), L"a\"bc\"");
}

TEST(ParseNumberList, StartAndNumbers) {
    NumberList list = parseNumberList(L"-Xmx40:256:2048P");
    EXPECT_EQ(list.start, 4u);
    EXPECT_EQ(list.numbers, (std::vector<uint64_t>{40, 256, 2048}));
    list = parseNumberList(L"-Xmx:5P");
    EXPECT_EQ(list.start, 4u);
    EXPECT_EQ(list.numbers, (std::vector<uint64_t>{0, 5}));
    list = parseNumberList(L"-XmxP");
    EXPECT_EQ(list.start, 5u);
    EXPECT_TRUE(list.numbers.empty());
    EXPECT_EQ(parseNumberList(L"1x2").numbers, (std::vector<uint64_t>{12}));
    EXPECT_EQ(parseNumberList(L"18446744073709551617:1").numbers, (std::vector<uint64_t>{UINT64_MAX, 1}));
}

TEST(ParseByteSize, Multipliers) {
    EXPECT_EQ(parseByteSize(L"512k"), 524288u);
    EXPECT_EQ(parseByteSize(L"1048576"), 1048576u);
    EXPECT_EQ(parseByteSize(L"2M"), 2097152u);
    EXPECT_EQ(parseByteSize(L"1g"), GiB);
    EXPECT_EQ(parseByteSize(L":1k"), 0u);
    EXPECT_EQ(parseByteSize(L"x1k"), 0u);
    EXPECT_EQ(parseByteSize(L""), 0u);
    EXPECT_EQ(parseByteSize(L"1:2"), 0u);
    EXPECT_EQ(parseByteSize(L"18446744073709551617"), UINT64_MAX);
    EXPECT_EQ(parseByteSize(L"18014398509481984k"), UINT64_MAX);
}

TEST(RewriteMemoryPercentage, WorkedExamples) {
    MemoryBases sixteen{16 * GiB, 0};
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx50P", sixteen), L"-Xmx8388608K");
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx10:2048:4096P", sixteen), L"-Xmx2097152K");
    EXPECT_EQ(rewriteMemoryPercentage(L"-XmxP", sixteen), L"-XmxP0K");
    // The maximum caps, the minimum wins over the maximum.
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx50:0:1024p", sixteen), L"-Xmx1048576K");
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx50:4096:1024p", sixteen), L"-Xmx4194304K");
    // A maximum beyond 64 bits is no bound.
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx50:0:18014398509481985P", sixteen), L"-Xmx8388608K");
}

TEST(RewriteMemoryPercentage, TakesTheVirtualBaseForT) {
    MemoryBases memory{16 * GiB, 4 * GiB};
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xms25:128T", memory), L"-Xms1048576K");
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xms25t", memory), L"-Xms1048576K");
}

TEST(RewriteMemoryPercentage, LargeResultsKeepTheirTrueValue) {
    MemoryBases memory{0, 128ull * 1024 * GiB}; // 128 TiB of address space
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx50T", memory), L"-Xmx68719476736K");
    EXPECT_EQ(rewriteMemoryPercentage(L"-Xmx99999999999999999999999P", {16 * GiB, 0}).substr(0, 4), L"-Xmx");
}

TEST(NormalizeVmParameter, RewritesOnlyExactOptionNames) {
    MemoryBases sixteen{16 * GiB, 0};
    uint64_t stack = 7;
    EXPECT_EQ(normalizeVmParameter(L"-XMX50P", sixteen, stack), L"-XMX50P");
    EXPECT_EQ(stack, 7u);
    EXPECT_EQ(normalizeVmParameter(L"\"-Xmx50P\"", sixteen, stack), L"-Xmx8388608K");
    EXPECT_EQ(normalizeVmParameter(L"-Xmx512m", sixteen, stack), L"-Xmx512m");
    EXPECT_EQ(normalizeVmParameter(L"-Dx=50P", sixteen, stack), L"-Dx=50P");
}

TEST(NormalizeVmParameter, RemembersTheLastStackSize) {
    MemoryBases sixteen{16 * GiB, 0};
    uint64_t stack = 0;
    EXPECT_EQ(normalizeVmParameter(L"-Xss512k", sixteen, stack), L"-Xss512k");
    EXPECT_EQ(stack, 524288u);
    normalizeVmParameter(L"-Xss:1k", sixteen, stack);
    EXPECT_EQ(stack, 0u);
    // A percentage stack size is rewritten first and then read in KiB.
    EXPECT_EQ(normalizeVmParameter(L"-Xss1:2:3P", sixteen, stack), L"-Xss3072K");
    EXPECT_EQ(stack, 3072u * 1024);
}

TEST(ClassPathEntries, AbsoluteForms) {
    EXPECT_TRUE(isAbsoluteClassPathEntry(L"C:\\libs\\x.jar"));
    EXPECT_TRUE(isAbsoluteClassPathEntry(L"\\\\server\\share\\x.jar"));
    EXPECT_FALSE(isAbsoluteClassPathEntry(L"\\lib\\app.jar"));
    EXPECT_FALSE(isAbsoluteClassPathEntry(L"x"));
    EXPECT_FALSE(isAbsoluteClassPathEntry(L"lib\\a.jar"));
}

TEST(ComposedPaths, LibraryAndSystemPath) {
    const std::wstring jvm = L"C:\\Java\\jre\\bin\\server\\jvm.dll";
    EXPECT_EQ(composeLibraryPath(L"native", L"C:\\App\\", jvm), L"native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
    EXPECT_EQ(composeLibraryPath(L"a;b;", L"C:\\App\\", jvm), L"a;b;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
    EXPECT_EQ(composeSystemPath(L"", jvm), L"%Path%;C:\\Java\\jre\\bin");
    EXPECT_EQ(composeSystemPath(L"C:\\tools", jvm), L"C:\\tools;%Path%;C:\\Java\\jre\\bin");
    EXPECT_EQ(composeSystemPath(L"C:\\tools;", jvm), L"C:\\tools;%Path%;C:\\Java\\jre\\bin");
}

} // namespace
