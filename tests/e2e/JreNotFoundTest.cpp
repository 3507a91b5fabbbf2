// The "JRE Not Found" dialog of a launcher that finds no runtime: what it says, the folder browser, and the start
// from the folder the user picked, which the next start finds without asking.
#include "DialogAutomation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

namespace {

constexpr int pathBox = 201;
constexpr int browseButton = 202;
constexpr int message = 203;
constexpr int link = 205;
constexpr DWORD failed = 0xFFFFFFFF;

// Folders for the user to pick. Some folder browsers find a folder by its path only when every name on the way is
// a short one (eight characters at most), so these live in a short-named folder beside the test's temporary ones.
class PickableFolders {
public:
    PickableFolders() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        for (unsigned n = GetTickCount() % 100000;; ++n) {
            root_ = std::wstring(temp) + L"kp" + std::to_wstring(n % 1000000);
            if (CreateDirectoryW(root_.c_str(), nullptr))
                break;
        }
    }
    ~PickableFolders() { removeTree(root_); }
    PickableFolders(const PickableFolders&) = delete;
    PickableFolders& operator=(const PickableFolders&) = delete;
    std::wstring operator/(const std::wstring& relative) const { return root_ + L"\\" + relative; }

private:
    std::wstring root_;
};

class JreNotFound : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }
    // A launcher with nothing to find: no "JRE Path", no local runtime, no registered runtime.
    void writeSettings(const std::wstring& runtimeKeys) {
        launch.app().writeSettings(L"[Product Information]\r\nProduct Name=Test: Product\r\nProduct Code=T1\r\n"
                                   L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n" +
                                   runtimeKeys + L"\r\n[Class Path]\r\nClass Path=C:\\app.jar\r\n");
    }
    std::wstring perUserCopy() const { return appData / L"Test Product\\T1\\editor.ini"; }

    // Browse..., then the folder in the browser; true once the dialog shows it.
    static bool pick(const TestProcess& process, HWND dialog, const std::wstring& folder) {
        pressButton(dialog, browseButton);
        if (!chooseFolder(process.id(), dialog, folder))
            return false;
        for (int i = 0; i < 100 && controlText(dialog, pathBox) != folder; ++i)
            Sleep(50);
        return controlText(dialog, pathBox) == folder;
    }

    TempFolder appData;
    ScopedEnvironment appDataVariable{L"APPDATA", appData.path()};
    RegistryFixture registry;
    StandInLaunch launch{L"main=return"};
    PickableFolders folders;
};

TEST_F(JreNotFound, TellsWhichJavaIsNeededAndCancelStops) {
    struct Case {
        const wchar_t* keys;
        const wchar_t* text;
        void (*answer)(HWND);
    };
    const Case cases[] = {
        {L"",
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (latest version) "
         L"from:",
         [](HWND dialog) { pressButton(dialog, IDCANCEL); }},
        {L"Minimum Version=1.6",
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (minimum version 1.6) "
         L"from:",
         [](HWND dialog) { pressKey(dialog, VK_ESCAPE); }},
        {L"JVM Type=server\r\nMinimum Version=1.7.0_25\r\nMaximum Version=1.7.0_25",
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM "
         L"(version 1.7.0.25 is required) from:",
         pressCloseBox},
    };
    for (const Case& c : cases) {
        writeSettings(c.keys);
        auto process = launch.start();
        HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
        ASSERT_TRUE(dialog) << narrow(c.keys);
        EXPECT_EQ(controlText(dialog, message), c.text);
        EXPECT_EQ(controlText(dialog, link), L"https://adoptium.net/");
        EXPECT_FALSE(isControlEnabled(dialog, IDOK)) << "nothing picked yet";
        c.answer(dialog);
        ASSERT_TRUE(process->waitForExit()) << narrow(c.keys);
        EXPECT_EQ(process->exitCode(), failed) << narrow(c.keys);
        EXPECT_FALSE(launch.has("create.version")) << "no runtime was loaded";
    }
    EXPECT_FALSE(fileExists(perUserCopy())) << "nothing to remember";
}

TEST_F(JreNotFound, OkFollowsTheCurrentPickAndThePickIsRemembered) {
    std::wstring jre = folders / L"jdk\\jre";
    std::wstring library = installJvmLibrary(jre, L"server", standInJvmPath());
    createFolders(folders / L"empty");
    writeSettings(L"");
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
    EXPECT_EQ(launch.values("main.called").size(), 1u);
    EXPECT_EQ(launch.value("env.KORU_JVM_PATH"), narrow(library));

    auto second = launch.start();
    ASSERT_TRUE(second->waitForExit()) << "the remembered folder is found without asking";
    EXPECT_EQ(second->exitCode(), 0u);
    EXPECT_EQ(launch.values("main.called").size(), 2u);
}

TEST_F(JreNotFound, AServerJvmIsNeededWhenTheSettingsSaySo) {
    installJvmLibrary(folders / L"client", L"client");
    writeSettings(L"JVM Type=server");
    auto process = launch.start();
    HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(pick(*process, dialog, folders / L"client"));
    EXPECT_FALSE(isControlEnabled(dialog, IDOK));
    pressButton(dialog, IDCANCEL);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), failed);
}

} // namespace
