// The splash as the user sees it: the launcher's own window (place, pixels, style, when it goes, the boxes it owns)
// and the runtime's own splash library, played by a fixture beside the stand-in runtime's bin folder.
#include "StandInRecord.h"
#include "TestImages.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

#include "support/UniqueResource.h"

namespace {

const wchar_t* const splashClass = L"SplashScreenWindow";
constexpr uint32_t backdropColour = 0xFF00FF;
const wchar_t* const display = L"Display";

// A launch whose "Splash Screen" names an image file written beside the launcher, optionally with the runtime's
// splash library (a fixture folder) beside the stand-in.
struct SplashLaunch : StandInLaunch {
    SplashLaunch(const std::wstring& script, const std::string& image, const std::wstring& name = L"splash.bmp",
                 const wchar_t* library = nullptr)
        : StandInLaunch(script), imagePath(app().file(name)) {
        createFolders(imagePath.substr(0, imagePath.rfind(L'\\')));
        writeBytes(imagePath, image);
        app().set(display, L"Splash Screen", imagePath);
        if (library)
            copyFile(testProgramFolder() + L"\\fixtures\\" + library + L"\\splashscreen.dll",
                     runtimeHome() + L"\\bin\\splashscreen.dll");
    }
    std::wstring imagePath;
};

std::string text(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
}

RECT centredRect(int width, int height) {
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{left, top, left + width, top + height};
}

// The first splash window of the process as it was when first seen ("left,top widthxheight", and " shadow" when it
// casts one), watched until the process ends; a start that takes more than 8 s will not end (the caller stops).
std::string watchSplash(TestProcess& process) {
    std::string seen = "(none)";
    for (DWORD start = GetTickCount(); process.exitCode() == STILL_ACTIVE && GetTickCount() - start < 8000; Sleep(10)) {
        HWND splash = seen == "(none)" ? waitForWindow(process.id(), splashClass, 0) : nullptr;
        RECT rect = {};
        if (splash && GetWindowRect(splash, &rect))
            seen = text(rect) + ((GetClassLongPtrW(splash, GCL_STYLE) & CS_DROPSHADOW) ? " shadow" : "");
    }
    return seen;
}

// The pixels of a screen rectangle as 0x00RRGGBB, rows from the top.
std::vector<uint32_t> screenPixels(const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width > 0 && height > 0 ? width * height : 0));
    if (pixels.empty())
        return pixels;
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ previous = SelectObject(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0x00FFFFFF;
    SelectObject(memory.get(), previous); // the bitmap is deleted once no device context holds it
    return pixels;
}

// A window of backdropColour over an area of the screen, so that see-through pixels of a window above it have
// something known to show.
UniqueWindow showBackdrop(const RECT& area) {
    static const ATOM backdropClass = [] {
        WNDCLASSW description = {};
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hbrBackground = CreateSolidBrush(RGB(0xFF, 0x00, 0xFF));
        description.lpszClassName = L"KoruTestBackdrop";
        return RegisterClassW(&description);
    }();
    UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(backdropClass), L"", WS_POPUP, area.left,
                                        area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                        nullptr, nullptr));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

// The record's splash library calls and the VM's end, in order.
Lines splashAndVmFacts(const StandInRecord& record) { return record.facts({"splash.", "destroy.", "create.result"}); }

TEST(SplashWindow, ShownUnlessSwitchedOffOrUnset) {
    const std::string small = bmpFile(opaqueTestImage(30, 20));
    const struct {
        const wchar_t* arguments;
        const wchar_t* key;    // "Splash Screen": "*" names the image file, null leaves the key out
        std::string image;     // the file's content
        const wchar_t* shadow; // "Splash Screen Shadow"
        RECT rect;             // of the window; none shown when empty
    } cases[] = {
        {L"", L"*", small, L"true", centredRect(30, 20)},
        {L"-NOSPLASH", L"*", small, L"True", centredRect(30, 20)},
        {L"", L"*", "not an image", L"", centredRect(0, 0)},
        {L"", L"*", "", L"", centredRect(0, 0)},
        {L"-nosplash", L"*", small, L"true", {}},
        {L"/nosplash", L"*", small, L"true", {}},
        {L"", L"", small, L"true", {}},
        {L"", nullptr, small, L"true", {}},
    };
    for (const auto& c : cases) {
        SplashLaunch launch(L"main=sleep:1000", c.image);
        launch.app().set(display, L"Splash Screen Shadow", c.shadow);
        if (!c.key)
            launch.app().remove(display, L"Splash Screen");
        else if (!*c.key)
            launch.app().set(display, L"Splash Screen", L"");
        auto process = launch.start(c.arguments);
        const bool shown = c.rect.right > 0, shadow = std::wstring(c.shadow) == L"true";
        EXPECT_EQ(watchSplash(*process), shown ? text(c.rect) + (shadow ? " shadow" : "") : "(none)")
            << narrow(c.arguments) << " " << c.image.size() << " " << narrow(c.shadow);
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
    const struct {
        const TestImage& image;
        std::string file;
        const wchar_t* name;
        LONG_PTR exStyle;
    } cases[] = {{opaque, bmpFile(opaque), L"splash.bmp", WS_EX_TOOLWINDOW},
                 {halfClear, tiffFile(halfClear), L"splash.tif", WS_EX_TOOLWINDOW | WS_EX_LAYERED}};
    for (const auto& c : cases) {
        RECT area = centredRect(c.image.width, c.image.height);
        UniqueWindow behind = showBackdrop(area);
        std::vector<uint32_t> expected;
        for (uint32_t pixel : c.image.argb)
            expected.push_back(pixel >> 24 ? pixel & 0x00FFFFFF : backdropColour);
        SplashLaunch launch(L"main=sleep:2000", c.file, c.name);
        auto process = launch.start(L"");
        HWND splash = waitForWindow(process->id(), splashClass);
        ASSERT_TRUE(splash) << narrow(c.name);
        const LONG_PTR frame = WS_POPUP | WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
        EXPECT_EQ(GetWindowLongPtrW(splash, GWL_STYLE) & frame, LONG_PTR(WS_POPUP)) << "no border, caption or menu";
        EXPECT_EQ(GetWindowLongPtrW(splash, GWL_EXSTYLE), c.exStyle) << "a tool window has no taskbar button";
        std::vector<uint32_t> shown; // showing and painting are two steps
        waitUntil([&] { return (shown = screenPixels(area)) == expected; }, 1000);
        EXPECT_EQ(shown, expected) << narrow(c.name);
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
        {L"", false, false}, {L"-nosplash", false, false}, {L"", false, true}, {L"", true, false}};
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
        EXPECT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), failedStart);
    }
}

// With "Preffer Native Splash Screen" the runtime's splash library shows the picture and is closed once (a second
// SplashClose would end the process with 0xBAD1); without a library that can, the preference or an 8-bit path, the
// launcher's own window shows it.
TEST(NativeSplash, TheRuntimesLibraryClosedOnceOrTheOwnWindowInstead) {
    const Lines destroyed = {"destroy.begin", "destroy.end"}, closed = {"destroy.begin", "destroy.end", "splash.close"};
    const struct {
        const wchar_t* script;
        const wchar_t* library; // fixture folder; null: none beside the runtime
        const wchar_t* preference;
        const wchar_t* image;
        DWORD exitCode;
        Lines libraryEnd; // the facts after the library's first calls; none: the own window shows
    } cases[] = {
        {L"main=sleep:500", L"splash", L"yes", L"splash.bmp", 0, closed},
        // a folder name outside most code pages reaches the library in its short form
        {L"main=sleep:500", L"splash", L"yes", L"\x4E2D\x6587\\splash.bmp", 0, closed},
        {L"create=-1", L"splash", L"yes", L"splash.bmp", failedStart, {"create.result=-1", "splash.close"}},
        {L"main=sleep:1000", nullptr, L"Yes", L"splash.bmp", 0, {}},
        {L"main=sleep:1000", L"splash-without-init", L"Yes", L"splash.bmp", 0, {}}, // nor is its SplashClose called
        {L"main=sleep:1000", L"splash", L"No", L"splash.bmp", 0, {}},
        {L"main=sleep:1000", L"splash", L"Yes", L"\xD83D\xDE00.bmp", 0, {}}, // missing, and no 8-bit form names it
    };
    for (const auto& c : cases) {
        const bool missing = *c.image == 0xD83D, native = !c.libraryEnd.empty();
        if (missing && GetACP() == CP_UTF8)
            continue;
        SplashLaunch launch(c.script, bmpFile(opaqueTestImage(30, 20)), missing ? L"splash.bmp" : c.image, c.library);
        launch.app().set({{display, L"Preffer Native Splash Screen", c.preference},
                          {display, L"Splash Screen", launch.app().file(c.image)}});
        auto process = launch.start(L"");
        if (c.exitCode)
            dismissMessageBox(process->id());
        EXPECT_EQ(watchSplash(*process) == "(none)", native) << narrow(c.image) << ": the launcher's own window";
        ASSERT_EQ(process->exitCode(), c.exitCode) << narrow(c.image);
        StandInRecord record = launch.record();
        std::string eightBit = record.value("splash.loadFile");
        EXPECT_TRUE(!native || c.image[0] != L's' || eightBit == narrow(launch.imagePath))
            << "a path the code page holds is passed as written";
        Lines expected = native ? Lines{"splash.init", "splash.loadFile=" + eightBit, "splash.opens=yes",
                                        "splash.fileJarName=" + eightBit, "splash.jarName"}
                                : destroyed;
        expected.insert(expected.end(), c.libraryEnd.begin(), c.libraryEnd.end());
        EXPECT_EQ(splashAndVmFacts(record), expected) << narrow(c.script) << " " << narrow(c.image);
    }
}

} // namespace
