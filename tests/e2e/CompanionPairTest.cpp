// The hand-off between the two builds of the launcher: this build's as editor.exe and the other width's (from the pair
// build tree) as companion.exe, naming each other as "Pair Product", each with a stand-in runtime of a given width.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

namespace {

// The process that `parent` started, opened so that the test can end it; null when none came in time.
UniqueHandle childOf(DWORD parent, DWORD& childId) {
    childId = 0;
    waitUntil([&] {
        UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry = {sizeof(entry)};
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
            childId = entry.th32ParentProcessID == parent ? entry.th32ProcessID : childId;
        return childId != 0;
    });
    return UniqueHandle(childId ? OpenProcess(PROCESS_TERMINATE, FALSE, childId) : nullptr);
}

enum class Outcome { CompanionRunsMain, CompanionCannotLoad, NothingRuns };

// Each build hosts the runtimes of its own width and hands off only the other's; a start by hand-off never hands on.
// The editor is started in root\work, with arguments, which stay behind.
TEST(CompanionStart, EachBuildHostsItsOwnWidthAndNoStartLoops) {
    const struct {
        bool startCompanion;         // by hand, not by the editor's hand-off
        const wchar_t* editorJre;    // "JRE Path": jre-pair holds a runtime of the companion's width, jre of this
        const wchar_t* companionJre; // build's; empty: the first is registered in the companion's registry view
        const wchar_t* pairReturnCode;
        bool companionInstalled;
        DWORD exitCode;
        Outcome outcome;
    } cases[] = {
        {false, L"jre-pair", L"jre-pair", L"YES", true, 4660, Outcome::CompanionRunsMain},
        {false, L"jre-pair", L"jre-pair", L"", true, 0, Outcome::CompanionRunsMain},
        {false, L"", L"", L"yes", true, 4660, Outcome::CompanionRunsMain},
        {true, L"jre-pair", L"jre-pair", L"yes", true, 4660, Outcome::CompanionRunsMain},
        // a companion that cannot be started is a failed start
        {false, L"jre-pair", L"jre-pair", L"yes", false, failedStart, Outcome::NothingRuns},
        // each would hand the other its runtime: the companion started by the hand-off tries to load it itself
        {false, L"jre-pair", L"jre", L"yes", true, failedStart, Outcome::CompanionCannotLoad},
    };
    for (const auto& c : cases) {
        if (!*c.editorJre && RegistryFixture::machineHasRuntimes())
            continue;
        TempFolder root;
        RegistryFixture registry;
        Installation editor(root / L"App"), companion(root / L"App", L"companion.exe", pairBuildFile(L"koru.exe"));
        const std::wstring editorsRuntime = installJvmLibrary(root / L"jre", L"server", standInJvmPath());
        const std::wstring companionsRuntime =
            installJvmLibrary(root / L"jre-pair", L"server", pairBuildFile(L"standin\\jvm.dll"));
        if (!*c.editorJre)
            ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.8", root / L"jre-pair", RegistryFixture::companionView));
        for (auto [app, jre, other] :
             {std::tuple(&editor, c.editorJre, &companion), std::tuple(&companion, c.companionJre, &editor)})
            app->set({{jreSection, L"Main Class", L"com.example.App"},
                      {L"Class Path", L"Class Path", L"C:\\app.jar"},
                      {jreSection, L"JRE Path", *jre ? root / jre : L""},
                      {L"Application", L"Pair Product", other->exePath()},
                      {L"Application", L"Pair Return Code", c.pairReturnCode}});
        if (!c.companionInstalled)
            DeleteFileW(companion.exePath().c_str());
        ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=exit:4660");
        ScopedEnvironment record(L"KORU_STANDIN_RECORD", root / L"record.txt");
        createFolders(root / L"work");

        auto process = (c.startCompanion ? companion : editor).start(L"-nosplash one", root / L"work");
        DWORD childId = 0;
        UniqueHandle child;
        if (c.outcome == Outcome::CompanionCannotLoad) {
            child = childOf(process->id(), childId);
            EXPECT_EQ(dismissMessageBox(childId),
                      L"Failed to load Java VM library: " + editorsRuntime + L" (errno = 193).\n");
        }
        EXPECT_TRUE(process->waitForExit()) << c.startCompanion << c.companionJre;
        EXPECT_EQ(process->exitCode(), c.exitCode) << c.startCompanion << c.companionJre;
        if (child)
            TerminateProcess(child.get(), killed);
        bool ran = c.outcome == Outcome::CompanionRunsMain;
        // Without "Pair Return Code" the editor may end before the companion has run.
        waitUntil([&] { return !ran || StandInRecord(root / L"record.txt").has("exit"); });
        StandInRecord facts(root / L"record.txt");
        EXPECT_EQ(facts.value("env.KORU_JVM_PATH"), ran ? narrow(companionsRuntime) : "(absent)") << c.companionJre;
        EXPECT_EQ(facts.value("main.argc"), ran ? (c.startCompanion ? "2" : "0") : "(absent)");
        EXPECT_EQ(facts.value("cwd"), ran ? narrow(root / L"work") : "(absent)");
    }
}

} // namespace
