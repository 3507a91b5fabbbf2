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

class JreNotFound : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }
    // A launcher with nothing to find: no "JRE Path", no local runtime, no registered runtime.
    void setUpInstallation(const std::vector<Setting>& runtimeKeys) {
        launch.app().remove(jreSection, L"JRE Path");
        launch.app().set(runtimeKeys);
    }
    std::wstring perUserCopy() const { return appData / L"Test Product\\T1\\editor.ini"; }

    // Browse..., then the folder in the browser; true once the dialog shows it.
    static bool pick(const TestProcess& process, HWND dialog, const std::wstring& folder) {
        pressButton(dialog, browseButton);
        if (!chooseFolder(process.id(), dialog, folder))
            return false;
        return waitUntil([&] { return controlText(dialog, pathBox) == folder; });
    }

    TempFolder appData;
    ScopedEnvironment appDataVariable{L"APPDATA", appData.path()};
    RegistryFixture registry;
    StandInLaunch launch{L"",
                         {{L"Product Information", L"Product Name", L"Test: Product"},
                          {L"Product Information", L"Product Code", L"T1"}}};
    TempFolder folders;
};

// Each case picks a folder with only a client library, then refuses in one of the three ways.
TEST_F(JreNotFound, TellsWhichJavaIsNeededAndRefusingStops) {
    struct Case {
        std::vector<Setting> keys;
        const wchar_t* text;
        bool clientLibraryDoes;
        void (*refuse)(HWND);
    };
    const Case cases[] = {
        {{},
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (latest version) "
         L"from:",
         true,
         [](HWND dialog) { pressButton(dialog, IDCANCEL); }},
        {{{jreSection, L"Minimum Version", L"1.6"}},
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (minimum version 1.6) "
         L"from:",
         true,
         [](HWND dialog) { pressKey(dialog, VK_ESCAPE); }},
        {{{jreSection, L"JVM Type", L"server"},
          {jreSection, L"Minimum Version", L"1.7.0_25"},
          {jreSection, L"Maximum Version", L"1.7.0_25"}},
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM "
         L"(version 1.7.0.25 is required) from:",
         false,
         pressCloseBox},
    };
    installJvmLibrary(folders / L"client", L"client");
    for (const Case& c : cases) {
        setUpInstallation(c.keys);
        auto process = launch.start();
        HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
        ASSERT_TRUE(dialog) << narrow(c.text);
        EXPECT_EQ(controlText(dialog, message), c.text);
        EXPECT_EQ(controlText(dialog, link), L"https://adoptium.net/");
        EXPECT_FALSE(isControlEnabled(dialog, IDOK)) << "nothing picked yet";
        ASSERT_TRUE(pick(*process, dialog, folders / L"client"));
        EXPECT_EQ(isControlEnabled(dialog, IDOK), c.clientLibraryDoes) << narrow(c.text);
        c.refuse(dialog);
        ASSERT_TRUE(process->waitForExit()) << narrow(c.text);
        EXPECT_EQ(process->exitCode(), failedStart) << narrow(c.text);
        EXPECT_FALSE(launch.record().has("create.version")) << "no runtime was loaded";
    }
    EXPECT_FALSE(fileExists(perUserCopy())) << "nothing to remember";
}

TEST_F(JreNotFound, OkFollowsTheCurrentPickAndThePickIsRemembered) {
    std::wstring jre = folders / L"jdk\\jre";
    std::wstring library = installJvmLibrary(jre, L"server", standInJvmPath());
    createFolders(folders / L"empty");
    setUpInstallation({});
    auto process = launch.start();
    HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
    ASSERT_TRUE(dialog);
    const std::pair<std::wstring, bool> picks[] = {
        {folders / L"jdk", false}, // the library lies in jre\, not below the folder picked
        {jre, true},
        {folders / L"empty", false}, // a second pick without a library takes OK back
        {jre, true},
    };
    for (const auto& p : picks) {
        ASSERT_TRUE(pick(*process, dialog, p.first)) << narrow(p.first);
        EXPECT_EQ(isControlEnabled(dialog, IDOK), p.second) << narrow(p.first);
    }
    pressButton(dialog, IDOK);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0u);
    EXPECT_EQ(launch.record().values("main.argc").size(), 1u);
    EXPECT_EQ(launch.record().value("env.KORU_JVM_PATH"), narrow(library));

    auto second = launch.start();
    ASSERT_TRUE(second->waitForExit()) << "the remembered folder is found without asking";
    EXPECT_EQ(second->exitCode(), 0u);
    EXPECT_EQ(launch.record().values("main.argc").size(), 2u);
}

} // namespace
