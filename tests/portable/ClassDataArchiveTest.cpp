#include "jvm/ClassDataArchive.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Whatever makes a runtime refuse an archive gives another name; a folder's time, which any log written there moves,
// does not. The name reaches the VM in the ANSI code page.
TEST(ClassDataArchive, EveryInputThatInvalidatesAnArchiveChangesItsName) {
    auto nameOf = [](const std::wstring& path, const FileFacts& facts, const std::wstring& option) {
        ArchiveFingerprint fingerprint;
        fingerprint.add(path, facts);
        fingerprint.add(option);
        return archiveFileName(L"editor", fingerprint.value());
    };
    const FileFacts jar{true, false, 10, 20};
    const std::wstring name = nameOf(L"a.jar", jar, L"-Xmx1g");
    for (const auto& [path, facts, option] :
         std::vector<std::tuple<std::wstring, FileFacts, std::wstring>>{{L"b.jar", jar, L"-Xmx1g"},
                                                                        {L"a.jar", {true, false, 11, 20}, L"-Xmx1g"},
                                                                        {L"a.jar", {true, false, 10, 21}, L"-Xmx1g"},
                                                                        {L"a.jar", {}, L"-Xmx1g"},
                                                                        {L"a.jar", jar, L"-Xmx2g"},
                                                                        {L"a.ja", jar, L"r-Xmx1g"}})
        EXPECT_NE(nameOf(path, facts, option), name) << path << option;
    EXPECT_EQ(nameOf(L"C:\\App\\", {true, true, 0, 1}, L""), nameOf(L"C:\\App\\", {true, true, 0, 2}, L""));
    EXPECT_EQ(name.substr(0, 7) + name.substr(23) +
                  archiveApplicationName(L"my \x00E9"
                                         L"ditor-2.0.exe") +
                  archiveApplicationName(L"\x4E2D.exe"),
              L"editor-.jsamyditor-2.0app");
}

// At most two archives of an application remain: the new one and the newest other. Files of another application
// (whose name may begin like this one's) and a file a VM may still be writing stay.
TEST(ClassDataArchive, ANewArchiveLeavesTheNewestOtherAndWhatIsNotOurs) {
    const uint64_t hour = 3600ull * 10000000, now = 1000 * hour;
    const std::wstring a = L"editor-00000000000000aa.jsa", b = L"editor-00000000000000bb.jsa",
                       c = L"editor-00000000000000cc.jsa", d = L"editor-00000000000000dd.jsa";
    const std::vector<FolderEntry> entries = {
        {a, 5},
        {a + L".failed", 5},
        {b, 30},
        {c, 20},
        {d, 10},
        {c + L".failed", 1},
        {b + L".77.tmp", now - hour / 2},
        {a + L".78.tmp", now - 2 * hour},
        {L"editor-pro-000000000000ee.jsa", 1},
        {L"editor-00000000000000ee.jsa.bak", 1},
        {L"editor-0000000000000Eee.jsa", 1},
    };
    EXPECT_EQ(filesToPrune(entries, L"editor", a, now),
              (std::vector<std::wstring>{c, d, c + L".failed", a + L".78.tmp"}));
}

// Options that rule an archive out (HotSpot's own choice, an agent, a class loader of the application's), and those
// that may take compressed object pointers away (and so need the default archive made without them).
TEST(ClassDataArchive, OptionsThatRuleAnArchiveOutOrNeedAnotherDefaultArchive) {
    const struct {
        const char* option;
        bool obstacle;
        bool mayDropPointers;
    } rows[] = {
        {"-Xshare:off", true, false},
        {"-XX:SharedArchiveFile=a.jsa", true, false},
        {"-javaagent:a.jar", true, false},
        {"-Djava.system.class.loader=a.L", true, false},
        {"-XX:+HeapDumpOnOutOfMemoryError", false, false},
        {"-Dagent=-javaagent:a.jar", false, false},
        {"-Xmx30g", false, false},
        {"-Xmx31g", false, true},
        {"-Xmx31743m", false, false},
        {"-Xmx32505856K", false, true},
        {"-Xmx1t", false, true},
        {"-Xmx4gb", false, true},
        {"-Xmx99999999999999999g", false, true},
        {"-Xms40g", false, false},
        {"-XX:MaxHeapSize=1073741824", false, false},
        {"-XX:+UseZGC", false, true},
        {"-XX:MaxRAMPercentage=80", false, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(archiveObstacle({"-Xmx1g", row.option}, false).empty(), !row.obstacle) << row.option;
        EXPECT_EQ(mayRunWithoutCompressedOops({"-Dx=1", row.option}), row.mayDropPointers) << row.option;
    }
    EXPECT_EQ(archiveObstacle({"-javaagent:a.jar"}, true) + L"|" +
                  archiveObstacle({"-Xshareclasses"}, true).substr(0, 15),
              L"|-Xshareclasses:");
}

} // namespace
