// The splash as the user sees it: the launcher's own window (place, pixels, style, when it goes, the boxes it owns)
// and the runtime's own splash library, played by a fixture beside the stand-in runtime's bin folder.
#include "StandInRecord.h"
#include "TestImages.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

#include "support/SelectedObject.h"
#include "support/UniqueResource.h"

namespace {

const wchar_t* const splashClass = L"SplashScreenWindow";
const wchar_t* const display = L"Display";

// A launch whose "Splash Screen" names an image file written beside the launcher, optionally with the runtime's
// splash library (a fixture folder) beside the stand-in.
struct SplashLaunch : StandInLaunch {
    SplashLaunch(const std::wstring& script, const std::string& image, const std::wstring& name = L"splash.bmp",
                 const wchar_t* library = nullptr)
        : StandInLaunch(script), imagePath(app().file(name)) {
        writeBytes(imagePath, image);
        app().set(display, L"Splash Screen", imagePath);
        if (library)
            copyFile(testProgramFolder() + L"\\fixtures\\" + library + L"\\splashscreen.dll",
                     runtimeHome() + L"\\bin\\splashscreen.dll");
    }
    std::wstring imagePath;
};

// The first splash window of the process as it was when first seen ("widthxheight", and " shadow" when it casts one;
// where it lies, its pixels tell), watched until the process ends; a start that takes more than 8 s will not end (the
// caller stops).
std::string watchSplash(TestProcess& process) {
    std::string seen = "(none)";
    for (DWORD start = GetTickCount(); process.exitCode() == STILL_ACTIVE && GetTickCount() - start < 8000; Sleep(10)) {
        HWND splash = seen == "(none)" ? waitForWindow(process.id(), splashClass, 0) : nullptr;
        RECT rect = {};
        if (splash && GetWindowRect(splash, &rect))
            seen = std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
                   ((GetClassLongPtrW(splash, GCL_STYLE) & CS_DROPSHADOW) ? " shadow" : "");
    }
    return seen;
}

// The pixels of a screen rectangle (not empty) as 0x00RRGGBB, rows from the top.
std::vector<uint32_t> screenPixels(const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0x00FFFFFF;
    return pixels;
}

// A dialog-class window, which paints itself in the button face colour, over an area of the screen, so that
// see-through pixels of a window above it have something known to show.
UniqueWindow showBackdrop(const RECT& area) {
    UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, L"#32770", L"", WS_POPUP, area.left, area.top,
                                        area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr,
                                        nullptr));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

TEST(SplashWindow, ShownUnlessSwitchedOffOrUnset) {
    const std::string small = bmpFile(opaqueTestImage(30, 20));
    // arguments, whether "Splash Screen" names the image file (else it is empty, as when left out), the file's
    // content, "Splash Screen Shadow", the window as watchSplash tells it
    const std::tuple<const wchar_t*, bool, std::string, const wchar_t*, const char*> cases[] = {
        {L"", true, small, L"true", "30x20 shadow"}, {L"-NOSPLASH", true, small, L"True", "30x20"},
        {L"", true, "not an image", L"", "0x0"},     {L"-nosplash", true, small, L"true", "(none)"},
        {L"", false, small, L"true", "(none)"},
    };
    for (const auto& [arguments, named, image, shadow, seen] : cases) {
        SplashLaunch launch(L"main=sleep:1000", image);
        launch.app().set(display, L"Splash Screen Shadow", shadow);
        if (!named)
            launch.app().set(display, L"Splash Screen", L"");
        auto process = launch.start(arguments);
        EXPECT_EQ(watchSplash(*process), seen) << narrow(arguments) << " " << image.size() << " " << narrow(shadow);
        ASSERT_EQ(process->exitCode(), 0u);
    }
}

// TIFF reaches the imaging component everywhere (the OLE loader takes none): its clear pixels show what lies behind.
// (Wine without a compositor blends partial alpha with black, so only clear and opaque pixels are compared.)
TEST(SplashWindow, ShowsTheImageCentredWithoutTaskbarButton) {
    TestImage halfClear{40, 30, {}};
    for (int i = 0; i < 40 * 30; ++i)
        halfClear.argb.push_back(i % 40 < 20 ? 0xFF2080C0u : 0x00FFFFFFu);
    const TestImage opaque = opaqueTestImage(300, 200);
    // the image, its file and the file's name, the window's extended style
    const std::tuple<const TestImage&, std::string, const wchar_t*, LONG_PTR> cases[] = {
        {opaque, bmpFile(opaque), L"splash.bmp", WS_EX_TOOLWINDOW},
        {halfClear, tiffFile(halfClear), L"splash.tif", WS_EX_TOOLWINDOW | WS_EX_LAYERED}};
    const COLORREF face = GetSysColor(COLOR_BTNFACE); // the backdrop's colour
    const uint32_t backdrop = uint32_t(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face);
    for (const auto& [image, file, name, exStyle] : cases) {
        const int left = (GetSystemMetrics(SM_CXSCREEN) - image.width) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - image.height) / 2;
        const RECT area{left, top, left + image.width, top + image.height}; // centred on the screen
        UniqueWindow behind = showBackdrop(area);
        std::vector<uint32_t> expected;
        for (uint32_t pixel : image.argb)
            expected.push_back(pixel >> 24 ? pixel & 0x00FFFFFF : backdrop);
        SplashLaunch launch(L"main=sleep:2000", file, name);
        auto process = launch.start(L"");
        HWND splash = waitForWindow(process->id(), splashClass);
        ASSERT_TRUE(splash) << narrow(name);
        const LONG_PTR frame = WS_POPUP | WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
        EXPECT_EQ(GetWindowLongPtrW(splash, GWL_STYLE) & frame, LONG_PTR(WS_POPUP)) << "no border, caption or menu";
        EXPECT_EQ(GetWindowLongPtrW(splash, GWL_EXSTYLE), exStyle) << "a tool window has no taskbar button";
        std::vector<uint32_t> shown; // showing and painting are two steps
        waitUntil([&] { return (shown = screenPixels(area)) == expected; }, 1000);
        EXPECT_EQ(shown, expected) << narrow(name);
    }
}

// Under the keep-alive rule the process stays after main; the splash must not.
TEST(SplashWindow, ClosesWhenMainReturnsThoughTheThreadStays) {
    SplashLaunch launch(L"main=sleep:1000", bmpFile(opaqueTestImage(30, 20)));
    launch.app().set(jreSection, L"VM Provider", L"any");
    auto process = launch.start(L"");
    HWND splash = waitForWindow(process->id(), splashClass);
    ASSERT_TRUE(splash);
    EXPECT_TRUE(waitUntil([splash] { return !IsWindow(splash); }, 10000));
    EXPECT_EQ(process->exitCode(), STILL_ACTIVE);
}

TEST(SplashWindow, GoneBeforeTheExceptionDialog) {
    SplashLaunch launch(L"startup=1000;main=throw:java/lang/IllegalStateException", bmpFile(opaqueTestImage(30, 20)));
    launch.app().set(L"Application", L"Failure Check", L"Yes");
    auto process = launch.start(L"");
    ASSERT_TRUE(waitForWindow(process->id(), splashClass));
    HWND dialog = waitForDialog(process->id(), L"Java Exception");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(waitForWindow(process->id(), splashClass, 0), nullptr);
    pressButton(dialog, IDOK); // Ignore
    EXPECT_TRUE(process->waitForExit());
}

// Every box is in front of the splash: owned by it, also when the start fails before the splash thread has its
// window (a library that does not load, while a large image is still being decoded), and after Alt+F4, which the
// splash ignores.
TEST(SplashWindow, OwnsTheBoxesRaisedWhileItShows) {
    // arguments, a library that does not load, Alt+F4 on the splash first
    const std::tuple<const wchar_t*, bool, bool> cases[] = {
        {L"-nosplash", false, false}, {L"", false, true}, {L"", true, false}};
    for (const auto& [arguments, brokenLibrary, altF4] : cases) {
        SplashLaunch launch(L"startup=1500;missing=class", bmpFile(opaqueTestImage(brokenLibrary ? 1500 : 30, 1000)));
        if (brokenLibrary)
            writeBytes(launch.jvmPath(), "");
        auto process = launch.start(arguments);
        HWND splash = *arguments ? nullptr : waitForWindow(process->id(), splashClass);
        if (altF4)
            pressCloseBox(splash);
        HWND owner = nullptr;
        std::wstring text = dismissMessageBox(process->id(), 10000, &owner);
        EXPECT_EQ(text.find(brokenLibrary ? L"Failed to load Java VM library: " : L"Could not find the main class"),
                  0u);
        EXPECT_EQ(owner, splash) << narrow(arguments) << brokenLibrary << altF4;
        EXPECT_EQ(process->exitCodeAfterWait(), failedStart);
    }
}

// With "Preffer Native Splash Screen" the runtime's splash library shows the picture and is closed once (a second
// SplashClose would end the process with 0xBAD1); without a library that can, the preference or an 8-bit path, the
// launcher's own window shows it.
TEST(NativeSplash, TheRuntimesLibraryClosedOnceOrTheOwnWindowInstead) {
    const Lines destroyed = {"destroy.begin", "destroy.end"}, closed = {"destroy.begin", "destroy.end", "splash.close"};
    // script, the fixture folder of the splash library beside the runtime (or none), "Preffer Native Splash Screen",
    // the image's name, the exit code, the facts after the library's first calls (none: the own window shows)
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, DWORD, Lines> cases[] = {
        {L"main=sleep:500", L"splash", L"yes", L"splash.bmp", 0, closed},
        // a folder name outside most code pages reaches the library in its short form
        {L"main=sleep:500", L"splash", L"yes", L"\x4E2D\x6587\\splash.bmp", 0, closed},
        {L"create=-1", L"splash", L"yes", L"splash.bmp", failedStart, {"create.result=-1", "splash.close"}},
        {L"main=sleep:1000", nullptr, L"Yes", L"splash.bmp", 0, {}},
        {L"main=sleep:1000", L"splash-without-init", L"Yes", L"splash.bmp", 0, {}}, // nor is its SplashClose called
        {L"main=sleep:1000", L"splash", L"No", L"splash.bmp", 0, {}},
        {L"main=sleep:1000", L"splash", L"Yes", L"\xD83D\xDE00.bmp", 0, {}}, // missing, and no 8-bit form names it
    };
    for (const auto& [script, library, preference, image, exitCode, libraryEnd] : cases) {
        const bool missing = *image == 0xD83D, native = !libraryEnd.empty();
        if (missing && GetACP() == CP_UTF8)
            continue;
        SplashLaunch launch(script, bmpFile(opaqueTestImage(30, 20)), missing ? L"splash.bmp" : image, library);
        launch.app().set({{display, L"Preffer Native Splash Screen", preference},
                          {display, L"Splash Screen", launch.app().file(image)}});
        auto process = launch.start(L"");
        if (exitCode)
            dismissMessageBox(process->id());
        EXPECT_EQ(watchSplash(*process) == "(none)", native) << narrow(image) << ": the launcher's own window";
        ASSERT_EQ(process->exitCode(), exitCode) << narrow(image);
        StandInRecord record = launch.record();
        std::string eightBit = record.value("splash.loadFile");
        EXPECT_TRUE(!native || image[0] != L's' || eightBit == narrow(launch.imagePath))
            << "a path the code page holds is passed as written";
        Lines expected = native ? Lines{"splash.init", "splash.loadFile=" + eightBit, "splash.opens=yes",
                                        "splash.fileJarName=" + eightBit, "splash.jarName"}
                                : destroyed;
        expected.insert(expected.end(), libraryEnd.begin(), libraryEnd.end());
        EXPECT_EQ(record.facts({"splash.", "destroy.", "create.result"}), expected)
            << narrow(script) << " " << narrow(image);
    }
}

} // namespace
