// The "JRE Not Found" dialog of a launcher that finds no runtime: what it says, the folder browser, and the start
// from the folder the user picked, which the next start finds without asking.
#include "UiAutomation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

namespace {

constexpr int pathBox = 201;
constexpr int browseButton = 202;
constexpr int message = 203;
constexpr int link = 205;
const std::wstring notFound = L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE ";

// Browse..., then the folder in the browser; true once the dialog shows it.
bool pick(const TestProcess& process, HWND dialog, const std::wstring& folder) {
    pressButton(dialog, browseButton);
    return chooseFolder(process.id(), dialog, folder) &&
           waitUntil([&] { return controlText(dialog, pathBox) == folder; });
}

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
    const struct {
        std::vector<Setting> keys;
        std::wstring text;
        std::vector<std::pair<std::wstring, bool>> picks; // each folder, and whether OK may then be pressed
        void (*answer)(HWND);
        DWORD exitCode;
    } cases[] = {
        {{},
         notFound + L"(latest version) from:",
         {{client, true}},
         [](HWND d) { pressButton(d, IDCANCEL); },
         failedStart},
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
    for (const auto& c : cases) {
        StandInLaunch launch(L"", {{L"Product Information", L"Product Name", L"Test: Product"},
                                   {L"Product Information", L"Product Code", L"T1"}});
        launch.app().remove(jreSection, L"JRE Path");
        launch.app().set(c.keys);
        auto process = launch.start();
        HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
        ASSERT_TRUE(dialog) << narrow(c.text);
        EXPECT_EQ(controlText(dialog, message), c.text);
        EXPECT_EQ(controlText(dialog, link), L"https://adoptium.net/");
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, message), FALSE), GetDlgItem(dialog, link))
            << "Tab reaches the link after the message";
        EXPECT_FALSE(isControlEnabled(dialog, IDOK)) << "nothing picked yet";
        for (const auto& p : c.picks) {
            ASSERT_TRUE(pick(*process, dialog, p.first)) << narrow(p.first);
            EXPECT_EQ(isControlEnabled(dialog, IDOK), p.second) << narrow(c.text) << narrow(p.first);
        }
        c.answer(dialog);
        ASSERT_TRUE(process->waitForExit()) << narrow(c.text);
        EXPECT_EQ(process->exitCode(), c.exitCode) << narrow(c.text);
        EXPECT_EQ(launch.record().value("env.KORU_JVM_PATH"), c.exitCode ? "(absent)" : narrow(library));
        EXPECT_EQ(fileExists(appData / L"Test Product\\T1\\editor.ini"), c.exitCode == 0) << "only a pick is kept";
        if (c.exitCode)
            continue;
        auto second = launch.start();
        ASSERT_TRUE(second->waitForExit()) << "the remembered folder is found without asking";
        EXPECT_EQ(second->exitCode(), 0u);
        EXPECT_EQ(launch.record().values("main.argc").size(), 2u);
    }
}

} // namespace
