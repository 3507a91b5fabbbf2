#include "jvm/ClassDataArchive.h"

#include <gtest/gtest.h>

namespace {

std::wstring nameOf(const std::wstring& path, const FileFacts& facts, const std::wstring& option = L"-Xmx1g") {
    ArchiveFingerprint fingerprint;
    fingerprint.add(path, facts);
    fingerprint.add(option);
    return archiveFileName(L"editor", fingerprint.value());
}

// Whatever makes a runtime refuse an archive gives another name; a folder's time, which any log written there moves,
// does not.
TEST(ClassDataArchive, EveryInputThatInvalidatesAnArchiveChangesItsName) {
    const FileFacts jar{true, false, 10, 20};
    for (const std::wstring& other :
         {nameOf(L"b.jar", jar), nameOf(L"a.jar", {true, false, 11, 20}), nameOf(L"a.jar", {true, false, 10, 21}),
          nameOf(L"a.jar", {}), nameOf(L"a.jar", jar, L"-Xmx2g"), nameOf(L"a.ja", jar, L"r-Xmx1g")})
        EXPECT_NE(other, nameOf(L"a.jar", jar));
    EXPECT_EQ(nameOf(L"C:\\App\\", {true, true, 0, 1}), nameOf(L"C:\\App\\", {true, true, 0, 2}));
    // Every digit counts, and only what the ANSI code page holds for sure names the files.
    EXPECT_NE(archiveFileName(L"a", 1ull << 60), archiveFileName(L"a", 0));
    EXPECT_EQ(archiveApplicationName(L"my \x00E9"
                                     L"ditor-2.0.exe") +
                  archiveApplicationName(L"\x4E2D.exe"),
              L"myditor-2.0app");
}

// At most two archives of an application remain: the new one and the newest other. Files of another application
// (whose name may begin like this one's), names too short to be an archive's and a file a VM may still be writing stay.
TEST(ClassDataArchive, ANewArchiveLeavesTheNewestOtherAndWhatIsNotOurs) {
    const uint64_t hour = 3600ull * 10000000, now = 1000 * hour;
    const std::wstring a = L"editor-00000000000000aa.jsa", b = L"editor-00000000000000bb.jsa",
                       c = L"editor-00000000000000cc.jsa", d = L"editor-00000000000000fd.jsa";
    const std::vector<FolderEntry> entries = {{a, 5},
                                              {a + L".failed", 5},
                                              {b, 30},
                                              {c, 20},
                                              {d, 10},
                                              {c + L".failed", 1},
                                              {b + L".7.tmp", now - hour / 2},
                                              {a + L".8.tmp", now - 2 * hour},
                                              {L"editor-pro-000000000000ee.jsa", 1},
                                              {L"editor-0000000000000Eee.jsa", 1},
                                              {L"editor-00ff", 1}};
    EXPECT_EQ(filesToPrune(entries, L"editor", a, now),
              (std::vector<std::wstring>{c, d, c + L".failed", a + L".8.tmp"}));
}

// HotSpot refuses to write an archive with an agent; OpenJ9 keeps its cache.
TEST(ClassDataArchive, AnAgentRulesOutHotSpotsArchiveOnly) {
    EXPECT_NE(archiveObstacle({"-Xmx1g", "-javaagent:a.jar"}, false), L"");
    EXPECT_EQ(archiveObstacle({"-Xmx1g", "-Dx=-javaagent:a.jar", "-XX:+HeapDumpOnOutOfMemoryError"}, false) +
                  archiveObstacle({"-javaagent:a.jar"}, true),
              L"");
}

// A heap that compressed object pointers cannot reach needs HotSpot's default archive made without them.
TEST(ClassDataArchive, HeapSizesThatTakeCompressedPointersAway) {
    for (const char* large : {"-Xmx31g", "-Xmx32505856K", "-Xmx1t", "-Xmx4gb", "-Xmx99999999999999999g",
                              "-XX:MaxHeapSize=40g", "-XX:+UseZGC", "-XX:MaxRAMPercentage=80"})
        EXPECT_TRUE(mayRunWithoutCompressedOops({"-Xmx1g", large})) << large;
    EXPECT_FALSE(mayRunWithoutCompressedOops({"-Xmx30g", "-Xmx31743m", "-Xmx8388608K", "-Xms40g", "-XX:+UseG1GC"}));
}

} // namespace
