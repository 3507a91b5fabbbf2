// Copies of the system libraries the launcher loads itself, planted beside the exe and in the folder it is started
// from, with Wine's load order set to prefer such a copy (HKCU\Software\Wine\DllOverrides, read by each program as it
// starts; meaningless elsewhere): none is loaded, whichever path of a start loads the library.
#include "RegistryFixture.h"
#include "StandInRecord.h"
#include "TestImages.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const names[] = {L"user32", L"gdi32",    L"comctl32", L"shell32",
                                L"ole32",  L"oleaut32", L"advapi32", L"windowscodecs"};

struct PreferPlantedCopies {
    PreferPlantedCopies() {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr);
        for (const wchar_t* name : names)
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native,builtin"), 30);
    }
    ~PreferPlantedCopies() {
        for (const wchar_t* name : names)
            RegDeleteValueW(key, name);
        RegCloseKey(key);
    }
    HKEY key = nullptr;
};

TEST(SafeLoading, PlantedSystemLibrariesAreNeverLoaded) {
    PreferPlantedCopies overrides;
    const std::string picture = bmpFile(opaqueTestImage(40, 30)), imaging = tiffFile(opaqueTestImage(40, 30));
    const struct {
        const char* path;
        std::wstring script;
        Setting setting;
        const std::string* image;
        void (*user)(StandInLaunch&, TestProcess&);
        DWORD exitCode;
    } cases[] = {
        {"picture", L"main=sleep:1000", {}, &picture, nullptr, 0},
        {"imaging", L"main=sleep:1000", {}, &imaging, nullptr, 0},
        {"exception",
         L"main=throw:java/lang/IllegalStateException",
         {L"Application", L"Failure Check", L"Yes"},
         nullptr,
         [](StandInLaunch&, TestProcess& p) { pressButton(waitForDialog(p.id(), L"Java Exception"), IDOK); },
         0},
        {"JRE Not Found",
         L"",
         {jreSection, L"JRE Path", L""},
         nullptr,
         [](StandInLaunch& launch, TestProcess& p) {
             HWND dialog = waitForDialog(p.id(), L"JRE Not Found");
             pressButton(dialog, 202);
             EXPECT_TRUE(chooseFolder(p.id(), dialog, launch.app().folder()));
             pressButton(dialog, IDCANCEL);
         },
         failedStart},
        {"single instance",
         L"secondary=void;main=sleep:1500",
         {L"Application", L"Single Instance", L"yes"},
         nullptr,
         [](StandInLaunch& launch, TestProcess&) {
             ASSERT_TRUE(waitUntil([&] { return launch.record().has("main.argc"); }, 10000));
             EXPECT_EQ(launch.run(L"-nosplash again", 10000), 0u);
         },
         0},
    };
    for (const auto& c : cases) {
        if (c.path[0] == 'J' && RegistryFixture::machineHasRuntimes())
            continue; // a registered runtime would be found instead
        StandInLaunch launch(c.script, c.setting.section ? std::vector<Setting>{c.setting} : std::vector<Setting>{});
        TempFolder work;
        for (const std::wstring& folder : {launch.app().folder(), work.path()})
            for (const wchar_t* name : names)
                copyFile(testProgramFolder() + L"\\fixtures\\planted\\planted.dll", folder + L"\\" + name + L".dll");
        if (c.image) {
            writeBytes(launch.app().file(L"splash.img"), *c.image);
            launch.app().set(L"Display", L"Splash Screen", launch.app().file(L"splash.img"));
        }
        auto process = launch.app().start(c.image ? L"" : L"-nosplash", work.path());
        if (c.user)
            c.user(launch, *process);
        EXPECT_TRUE(process->waitForExit(20000)) << c.path;
        EXPECT_EQ(process->exitCode(), c.exitCode) << c.path;
        for (const std::wstring& folder : {launch.app().folder(), work.path()})
            for (const wchar_t* name : names)
                EXPECT_FALSE(fileExists(folder + L"\\" + name + L".dll.loaded")) << c.path << ": " << narrow(name);
    }
}

} // namespace
