// The splash as the user sees it: the launcher's own window (place, pixels, style, when it goes, the boxes it owns)
// and the runtime's own splash library, played by a fixture beside the stand-in runtime's bin folder.
#include "RuntimeFixtures.h"
#include "ScreenCapture.h"
#include "StandInRecord.h"
#include "TestImages.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
constexpr DWORD failed = 0xFFFFFFFF;
const wchar_t* const splashClass = L"SplashScreenWindow";
const wchar_t* const display = L"Display";

// A launch whose "Splash Screen" names an image file written beside the launcher.
struct SplashLaunch : StandInLaunch {
    SplashLaunch(const std::wstring& script, const std::string& image, const std::wstring& name = L"splash.bmp")
        : StandInLaunch(script), imagePath(app().file(name)) {
        createFolders(imagePath.substr(0, imagePath.rfind(L'\\')));
        writeBytes(imagePath, image);
        app().set(display, L"Splash Screen", imagePath);
    }
    std::wstring imagePath;
};

bool running(const TestProcess& process) { return process.exitCode() == STILL_ACTIVE; }

RECT centredRect(int width, int height) {
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{left, top, left + width, top + height};
}

RECT windowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

std::string text(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

std::vector<uint32_t> colours(std::vector<uint32_t> argb) {
    for (uint32_t& pixel : argb)
        pixel &= 0x00FFFFFF;
    return argb;
}

// What the screen shows there once it equals the expected pixels, or after a second: showing and painting are
// separate steps.
std::vector<uint32_t> shownPixels(const RECT& area, const std::vector<uint32_t>& expected) {
    std::vector<uint32_t> shown = screenPixels(area);
    for (DWORD start = GetTickCount(); shown != expected && GetTickCount() - start < 1000; Sleep(20))
        shown = screenPixels(area);
    return shown;
}

// Watches the process to its end (at most 20 s) and tells whether a splash window of its own was ever visible.
bool splashSeenBeforeExit(TestProcess& process) {
    bool seen = false;
    for (DWORD start = GetTickCount(); running(process) && GetTickCount() - start < 20000; Sleep(10))
        seen = seen || !windowsOf(process.id(), splashClass).empty();
    EXPECT_FALSE(running(process)) << "did not end";
    return seen;
}

// The record's splash library calls and VM ends, in order.
Lines splashAndVmFacts(const StandInRecord& record) {
    Lines facts;
    for (const auto& line : record.lines()) {
        if (line.first.compare(0, 7, "splash.") == 0 || line.first.compare(0, 8, "destroy.") == 0 ||
            line.first == "create.result")
            facts.push_back(line.first + (line.second.empty() ? "" : "=" + line.second));
    }
    return facts;
}

void installSplashLibrary(const StandInLaunch& launch, const std::wstring& fixture) {
    copyFile(testProgramFolder() + L"\\fixtures\\" + fixture + L"\\splashscreen.dll",
             launch.runtimeHome() + L"\\bin\\splashscreen.dll");
}

TEST(SplashWindow, ShowsTheImageCentredWithoutTaskbarButton) {
    TestImage image = opaqueTestImage(300, 200);
    SplashLaunch launch(L"main=sleep:2000", bmpFile(image));
    auto process = launch.start(L"");
    HWND splash = waitForWindow(process->id(), splashClass);
    ASSERT_TRUE(splash);
    EXPECT_EQ(text(windowRect(splash)), text(centredRect(300, 200)));
    const LONG_PTR frame = WS_POPUP | WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
    EXPECT_EQ(GetWindowLongPtrW(splash, GWL_STYLE) & frame, LONG_PTR(WS_POPUP)) << "no border, caption or menu";
    EXPECT_EQ(GetWindowLongPtrW(splash, GWL_EXSTYLE), LONG_PTR(WS_EX_TOOLWINDOW)) << "a tool window: no taskbar button";
    EXPECT_EQ(GetWindowTextLengthW(splash), 0);
    EXPECT_EQ(shownPixels(centredRect(300, 200), colours(image.argb)), colours(image.argb));
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0u);
}

TEST(SplashWindow, ShadowOnlyForExactlyTrue) {
    for (const wchar_t* value : {L"true", L"True", L"yes", L""}) {
        SplashLaunch launch(L"main=sleep:1000", bmpFile(opaqueTestImage(30, 20)));
        launch.app().set(display, L"Splash Screen Shadow", value);
        auto process = launch.start(L"");
        HWND splash = waitForWindow(process->id(), splashClass);
        ASSERT_TRUE(splash) << narrow(value);
        bool shadow = (GetClassLongPtrW(splash, GCL_STYLE) & CS_DROPSHADOW) != 0;
        EXPECT_EQ(shadow, std::wstring(value) == L"true") << narrow(value);
        EXPECT_TRUE(process->waitForExit());
    }
}

TEST(SplashWindow, ShownUnlessSwitchedOffOrUnset) {
    const struct {
        const wchar_t* arguments;
        const wchar_t* image; // null: the key is absent
        bool shown;
    } cases[] = {
        {L"", L"splash.bmp", true},
        {L"-nosplash", L"splash.bmp", false},
        {L"/nosplash", L"splash.bmp", false},
        {L"-NOSPLASH", L"splash.bmp", true},
        {L"", L"", false},
        {L"", nullptr, false},
    };
    for (const auto& c : cases) {
        SplashLaunch launch(L"main=sleep:1000", bmpFile(opaqueTestImage(30, 20)));
        if (c.image)
            launch.app().set(display, L"Splash Screen", *c.image ? launch.imagePath : L"");
        else
            launch.app().remove(display, L"Splash Screen");
        auto process = launch.start(c.arguments);
        EXPECT_EQ(splashSeenBeforeExit(*process), c.shown) << narrow(c.arguments) << " " << (c.image != nullptr);
        EXPECT_EQ(process->exitCode(), 0u);
    }
}

TEST(SplashWindow, ImagesThatShowNothingGiveAnEmptyWindow) {
    for (const char* content : {"", "not an image"}) {
        SplashLaunch launch(L"main=sleep:1000", content);
        if (!*content)
            DeleteFileW(launch.imagePath.c_str());
        auto process = launch.start(L"");
        HWND splash = waitForWindow(process->id(), splashClass);
        ASSERT_TRUE(splash) << content;
        EXPECT_EQ(text(windowRect(splash)), text(centredRect(0, 0))) << content;
        EXPECT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), 0u);
    }
}

// Under the keep-alive rule the process stays after main; the splash must not.
TEST(SplashWindow, ClosesWhenMainReturnsThoughTheThreadStays) {
    SplashLaunch launch(L"main=sleep:1000", bmpFile(opaqueTestImage(30, 20)));
    launch.app().set(L"Java Runtime Environment", L"VM Provider", L"any");
    auto process = launch.start(L"");
    HWND splash = waitForWindow(process->id(), splashClass);
    ASSERT_TRUE(splash);
    for (DWORD start = GetTickCount(); IsWindow(splash) && GetTickCount() - start < 10000;)
        Sleep(20);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_TRUE(running(*process));
    EXPECT_TRUE(launch.record().has("main.argc"));
}

TEST(SplashWindow, OwnsTheBoxesRaisedWhileItShows) {
    for (const wchar_t* arguments : {L"", L"-nosplash"}) {
        SplashLaunch launch(L"startup=1500;missing=class", bmpFile(opaqueTestImage(30, 20)));
        auto process = launch.start(arguments);
        HWND splash = *arguments ? nullptr : waitForWindow(process->id(), splashClass);
        HWND owner = nullptr;
        EXPECT_EQ(dismissMessageBox(process->id(), 10000, &owner), L"Could not find the main class com/example/App.\n");
        EXPECT_EQ(owner, splash) << narrow(arguments);
        EXPECT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), failed);
    }
}

// TIFF reaches the imaging component everywhere (the OLE loader takes none); its clear pixels show what lies behind.
TEST(SplashWindow, SeeThroughPixelsOfAnImageWithAlpha) {
    TestImage image{40, 30, {}};
    for (int i = 0; i < 40 * 30; ++i)
        image.argb.push_back(i % 40 < 20 ? 0xFF2080C0u : 0x00FFFFFFu); // left half opaque, right half clear
    RECT area = centredRect(40, 30);
    std::vector<uint32_t> expected = screenPixels(area);
    for (size_t i = 0; i < expected.size(); ++i)
        expected[i] = i % 40 < 20 ? 0x2080C0u : expected[i];
    SplashLaunch launch(L"main=sleep:2000", tiffFile(image), L"splash.tif");
    auto process = launch.start(L"");
    HWND splash = waitForWindow(process->id(), splashClass);
    ASSERT_TRUE(splash);
    EXPECT_EQ(text(windowRect(splash)), text(area));
    EXPECT_TRUE(GetWindowLongPtrW(splash, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(shownPixels(area, expected), expected);
}

TEST(NativeSplash, StartedThroughTheRuntimesLibraryAndClosedAfterTheVm) {
    // A folder name outside most code pages reaches the library as the short form, which opens the file.
    for (const wchar_t* name : {L"splash.bmp", L"\x4E2D\x6587\\splash.bmp"}) {
        SplashLaunch launch(L"main=sleep:500", bmpFile(opaqueTestImage(30, 20)), name);
        installSplashLibrary(launch, L"splash");
        launch.app().set(display, L"Preffer Native Splash Screen", L"yes");
        auto process = launch.start(L"");
        EXPECT_FALSE(splashSeenBeforeExit(*process)) << "no window of the launcher's own";
        EXPECT_EQ(process->exitCode(), 0u);
        StandInRecord record = launch.record();
        const std::string eightBit = record.value("splash.loadFile");
        if (name[0] == L's') {
            EXPECT_EQ(eightBit, narrow(launch.imagePath)) << "a path the code page holds is passed as written";
        }
        EXPECT_EQ(splashAndVmFacts(record), (Lines{"splash.init", "splash.loadFile=" + eightBit, "splash.opens=yes",
                                                   "splash.fileJarName=" + eightBit, "splash.jarName", "destroy.begin",
                                                   "destroy.end", "splash.close"}))
            << narrow(name);
    }
}

TEST(NativeSplash, ClosedOnceWhenTheVmCannotBeCreated) {
    SplashLaunch launch(L"create=-1", bmpFile(opaqueTestImage(30, 20)));
    installSplashLibrary(launch, L"splash");
    launch.app().set(display, L"Preffer Native Splash Screen", L"Yes");
    auto process = launch.start(L"");
    HWND owner = nullptr;
    dismissMessageBox(process->id(), 10000, &owner);
    EXPECT_EQ(owner, nullptr);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), failed) << "a second SplashClose would end the process with 0xBAD1";
    EXPECT_EQ(splashAndVmFacts(launch.record()),
              (Lines{"splash.init", "splash.loadFile=" + narrow(launch.imagePath), "splash.opens=yes",
                     "splash.fileJarName=" + narrow(launch.imagePath), "splash.jarName", "create.result=-1",
                     "splash.close"}));
}

TEST(NativeSplash, OwnWindowInstead) {
    const struct {
        const wchar_t* library; // fixture folder; null: none beside the runtime
        const wchar_t* preference;
        const wchar_t* image;
    } cases[] = {
        {nullptr, L"Yes", L"splash.bmp"},
        {L"splash-without-init", L"Yes", L"splash.bmp"}, // its SplashClose is never called either
        {L"splash", L"No", L"splash.bmp"},
        {L"splash", L"Yes", L"\xD83D\xDE00.bmp"}, // missing, and no 8-bit form names it
    };
    for (const auto& c : cases) {
        if (*c.image == 0xD83D && GetACP() == CP_UTF8)
            continue;
        SplashLaunch launch(L"main=sleep:1000", bmpFile(opaqueTestImage(30, 20)), L"splash.bmp");
        if (c.library)
            installSplashLibrary(launch, c.library);
        launch.app().set(display, L"Preffer Native Splash Screen", c.preference);
        launch.app().set(display, L"Splash Screen", launch.app().file(c.image));
        auto process = launch.start(L"");
        EXPECT_TRUE(splashSeenBeforeExit(*process)) << narrow(c.image);
        EXPECT_EQ(process->exitCode(), 0u) << narrow(c.image);
        EXPECT_EQ(splashAndVmFacts(launch.record()), (Lines{"destroy.begin", "destroy.end"})) << narrow(c.image);
    }
}

} // namespace
