// Copies of the system libraries the launcher loads itself, planted beside the exe and in the folder it is started
// from, with Wine told to prefer a copy it finds to its own: none is loaded, whichever path of a start loads them.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "TestImages.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const systemLibraries[] = {L"user32", L"gdi32",    L"comctl32", L"shell32",
                                          L"ole32",  L"oleaut32", L"advapi32", L"windowscodecs"};

// Wine's load order, per name, for the processes started while it lives: a copy found on the search path ("native")
// before Wine's own. The programs read it when they start; elsewhere than under Wine the key means nothing.
class PreferPlantedCopies {
public:
    PreferPlantedCopies() {
        RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
        for (const wchar_t* name : systemLibraries)
            RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native,builtin"), 30);
    }
    ~PreferPlantedCopies() {
        for (const wchar_t* name : systemLibraries)
            RegDeleteValueW(key_, name);
        RegCloseKey(key_);
    }

private:
    static constexpr const wchar_t* keyPath = L"Software\\Wine\\DllOverrides";
    HKEY key_ = nullptr;
};

// The planted copies that were loaded, by the marker each leaves.
std::vector<std::string> plantedAndLoaded(const std::vector<std::wstring>& folders) {
    std::vector<std::string> loaded;
    for (const std::wstring& folder : folders)
        for (const wchar_t* name : systemLibraries)
            if (fileExists(folder + L"\\" + name + L".dll.loaded"))
                loaded.push_back(narrow(folder + L"\\" + name));
    return loaded;
}

void plant(const std::wstring& folder) {
    for (const wchar_t* name : systemLibraries)
        ASSERT_TRUE(
            copyFile(testProgramFolder() + L"\\fixtures\\planted\\planted.dll", folder + L"\\" + name + L".dll"));
}

void laterStart(StandInLaunch& launch, TestProcess&, const std::wstring& work) {
    ASSERT_TRUE(waitUntil([&] { return launch.record().has("main.argc"); }, 10000));
    auto later = launch.app().start(L"-nosplash again", work);
    EXPECT_TRUE(later->waitForExit(10000));
    EXPECT_EQ(later->exitCode(), 0u);
}

TEST(SafeLoading, PlantedSystemLibrariesAreNeverLoaded) {
    PreferPlantedCopies wine;
    const bool hasRuntimes = RegistryFixture::machineHasRuntimes();
    const struct {
        const char* path;
        std::wstring script;
        std::vector<Setting> settings;
        std::string image;
        void (*user)(StandInLaunch&, TestProcess&, const std::wstring& work);
        DWORD exitCode;
    } cases[] = {
        {"message box",
         L"",
         {{jreSection, L"Main Class", L""}},
         "",
         [](StandInLaunch&, TestProcess& p, const std::wstring&) { dismissMessageBox(p.id()); },
         failedStart},
        {"splash (picture loader)", L"main=sleep:1000", {}, bmpFile(opaqueTestImage(40, 30)), nullptr, 0},
        {"splash (imaging component)", L"main=sleep:1000", {}, tiffFile(opaqueTestImage(40, 30)), nullptr, 0},
        {"exception dialog",
         L"main=throw:java/lang/IllegalStateException",
         {{L"Application", L"Failure Check", L"Yes"}},
         "",
         [](StandInLaunch&, TestProcess& p, const std::wstring&) {
             pressButton(waitForDialog(p.id(), L"Java Exception"), IDOK);
         },
         0},
        {"JRE Not Found and the folder browser",
         L"",
         {{jreSection, L"JRE Path", L""}},
         "",
         [](StandInLaunch& launch, TestProcess& p, const std::wstring&) {
             HWND dialog = waitForDialog(p.id(), L"JRE Not Found");
             pressButton(dialog, 202);
             EXPECT_TRUE(chooseFolder(p.id(), dialog, launch.app().folder()));
             pressButton(dialog, IDCANCEL);
         },
         failedStart},
        {"single instance",
         L"secondary=void;main=sleep:1500",
         {{L"Application", L"Single Instance", L"yes"}},
         "",
         laterStart,
         0},
    };
    for (const auto& c : cases) {
        if (hasRuntimes && c.path[0] == 'J')
            continue; // this machine's registered runtimes would be found instead of the dialog
        StandInLaunch launch(c.script, c.settings);
        TempFolder work;
        plant(launch.app().folder());
        plant(work.path());
        if (!c.image.empty()) {
            writeBytes(launch.app().file(L"splash.img"), c.image);
            launch.app().set(L"Display", L"Splash Screen", launch.app().file(L"splash.img"));
        }
        auto process = launch.app().start(c.image.empty() ? L"-nosplash" : L"", work.path());
        if (c.user)
            c.user(launch, *process, work.path());
        EXPECT_TRUE(process->waitForExit(20000)) << c.path;
        EXPECT_EQ(process->exitCode(), c.exitCode) << c.path;
        EXPECT_EQ(plantedAndLoaded({launch.app().folder(), work.path()}), std::vector<std::string>()) << c.path;
    }
}

} // namespace
