// The hand-off between the two builds of the launcher: this build's as editor.exe and the other width's (from the pair
// build tree) as companion.exe, naming each other as "Pair Product", each with a stand-in runtime of a given width.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

// Each build hosts the runtimes of its own width and hands off only the other's; a start by hand-off never hands on.
// The launcher started is given arguments in root\work; the companion runs main there, without them.
TEST(CompanionStart, EachBuildHostsItsOwnWidthAndNoStartLoops) {
    // The companion started by hand (not by the editor's hand-off); the "JRE Path" folders of editor.ini and
    // companion.ini (jre-pair holds a runtime of the companion's width, jre one of this build's; none: the first is
    // registered in the companion's registry view); "Pair Return Code"; the companion installed; the exit code
    const std::tuple<bool, const wchar_t*, const wchar_t*, const wchar_t*, bool, DWORD> cases[] = {
        {false, L"jre-pair", L"jre-pair", L"YES", true, 4660},
        {false, L"jre-pair", L"jre-pair", L"", true, 0},
        {false, L"", L"", L"yes", true, 4660},
        {true, L"jre-pair", L"jre-pair", L"yes", true, 4660},
        {false, L"jre-pair", L"jre-pair", L"yes", false, failedStart}, // a companion not started is a failed start
        // each would hand the other its runtime: the companion started by the hand-off tries to load it itself
        {false, L"jre-pair", L"jre", L"yes", true, failedStart},
    };
    for (const auto& [startCompanion, editorJre, companionJre, pairReturnCode, installed, exitCode] : cases) {
        if (!*editorJre && RegistryFixture::machineHasRuntimes())
            continue;
        TempFolder root;
        RegistryFixture registry;
        Installation editor(root / L"App"), companion(root / L"App", L"companion.exe", pairBuildFile(L"koru.exe"));
        const auto ownJvm = installJvmLibrary(root / L"jre", L"server", standInJvmPath());
        const auto pairJvm = installJvmLibrary(root / L"jre-pair", L"server", pairBuildFile(L"standin\\jvm.dll"));
        if (!*editorJre)
            ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.8", root / L"jre-pair", RegistryFixture::companionView));
        for (auto [app, jre, other] :
             {std::tuple(&editor, editorJre, &companion), std::tuple(&companion, companionJre, &editor)})
            app->set({{jreSection, L"Main Class", L"com.example.App"},
                      {L"Class Path", L"Class Path", root / L"work\\app.jar"},
                      {jreSection, L"JRE Path", *jre ? root / jre : L""},
                      {L"Application", L"Pair Product", other->exePath() + (installed ? L"" : L".missing")},
                      {L"Application", L"Pair Return Code", pairReturnCode}});
        ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=exit:4660");
        ScopedEnvironment record(L"KORU_STANDIN_RECORD", root / L"record.txt");
        writeBytes(root / L"work\\app.jar", ""); // the application's jar, in the folder the launcher is started in

        auto process = (startCompanion ? companion : editor).start(L"-nosplash one", root / L"work");
        bool cannotLoad = std::wstring(companionJre) == L"jre", ran = installed && !cannotLoad;
        if (cannotLoad) {
            EXPECT_EQ(dismissMessageBox(0), L"Failed to load Java VM library: " + ownJvm + L" (errno = 193).\n");
        }
        EXPECT_EQ(process->exitCodeAfterWait(), exitCode) << startCompanion << companionJre;
        // Without "Pair Return Code" the editor may end before the companion has run.
        waitUntil([&] { return !ran || StandInRecord(root / L"record.txt").has("exit"); });
        StandInRecord facts(root / L"record.txt");
        EXPECT_EQ(facts.value("env.KORU_JVM_PATH"), ran ? narrow(pairJvm) : "(absent)") << companionJre;
        EXPECT_EQ(facts.value("main.argc"), ran ? (startCompanion ? "2" : "0") : "(absent)");
        EXPECT_EQ(facts.value("cwd"), ran ? narrow(root / L"work") : "(absent)");
    }
}

} // namespace
