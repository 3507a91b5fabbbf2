// The "JRE Not Found" dialog of a launcher that finds no runtime: what it says, the folder browser, and the start
// from the folder the user picked, which the next start finds without asking.
#include "UiAutomation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

const std::wstring notFound = L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE ";

// A launcher with nothing to find (no "JRE Path", no local runtime, no registered runtime) shows the dialog; the
// user picks folders in turn, OK following the current pick, then answers. Only a start from a pick is remembered.
TEST(JreNotFound, TellsWhichJavaIsNeededOkFollowsThePickAndThePickIsRemembered) {
    if (RegistryFixture::machineHasRuntimes())
        GTEST_SKIP() << "this machine has Java runtimes registered";
    RegistryFixture registry;
    TempFolder appData, folders;
    ScopedEnvironment appDataVariable{L"APPDATA", appData.path()};
    const std::wstring client = folders / L"client", jre = folders / L"jdk\\jre";
    installJvmLibrary(client, L"client");
    const std::wstring library = installJvmLibrary(jre, L"server", standInJvmPath());
    createFolders(folders / L"empty");
    // the settings, the dialog's text, each folder picked and whether OK may then be pressed, the answer, the exit code
    using Picks = std::vector<std::pair<std::wstring, bool>>;
    const std::tuple<std::vector<Setting>, std::wstring, Picks, void (*)(HWND), DWORD> cases[] = {
        {{{jreSection, L"Minimum Version", L"1.6"}},
         notFound + L"(minimum version 1.6) from:",
         {{client, true}},
         [](HWND d) { pressKey(d, VK_ESCAPE); },
         failedStart},
        {{{jreSection, L"JVM Type", L"server"},
          {jreSection, L"Minimum Version", L"1.7.0_25"},
          {jreSection, L"Maximum Version", L"1.7.0_25"}},
         notFound + L"with a server JVM (version 1.7.0.25 is required) from:",
         {{client, false}},
         pressCloseBox,
         failedStart},
        // the library lies in jre\, not below the folder picked; a pick without a library takes OK back
        {{},
         notFound + L"(latest version) from:",
         {{folders / L"jdk", false}, {jre, true}, {folders / L"empty", false}, {jre, true}},
         [](HWND d) { pressButton(d, IDOK); },
         0},
    };
    for (const auto& [keys, text, picks, answer, exitCode] : cases) {
        StandInLaunch launch(L"", {{L"Product Information", L"Product Name", L"Test: Product"},
                                   {L"Product Information", L"Product Code", L"T1"}});
        launch.app().remove(jreSection, L"JRE Path");
        launch.app().set(keys);
        auto process = launch.start();
        HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
        ASSERT_TRUE(dialog) << narrow(text);
        EXPECT_EQ(controlText(dialog, IDC_JRE_MESSAGE), text);
        EXPECT_EQ(controlText(dialog, IDC_DOWNLOAD_LINK), L"https://adoptium.net/");
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_JRE_MESSAGE), FALSE),
                  GetDlgItem(dialog, IDC_DOWNLOAD_LINK))
            << "Tab reaches the link after the message";
        EXPECT_FALSE(isControlEnabled(dialog, IDOK)) << "nothing picked yet";
        for (const auto& p : picks) { // Browse..., the folder in the browser, until the dialog shows it
            pressButton(dialog, IDC_BROWSE);
            ASSERT_TRUE(chooseFolder(process->id(), dialog, p.first) &&
                        waitUntil([&] { return controlText(dialog, IDC_JRE_PATH) == p.first; }))
                << narrow(p.first);
            EXPECT_EQ(isControlEnabled(dialog, IDOK), p.second) << narrow(text) << narrow(p.first);
        }
        answer(dialog);
        EXPECT_EQ(process->exitCodeAfterWait(), exitCode) << narrow(text);
        EXPECT_EQ(launch.record().value("env.KORU_JVM_PATH"), exitCode ? "(absent)" : narrow(library));
        EXPECT_EQ(fileExists(appData / L"Test Product\\T1\\editor.ini"), exitCode == 0) << "only a pick is kept";
        if (exitCode)
            continue;
        EXPECT_EQ(launch.run(), 0u) << "the remembered folder is found without asking";
        EXPECT_EQ(launch.record().values("main.argc").size(), 2u);
    }
}

} // namespace
