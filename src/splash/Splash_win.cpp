#include "Splash.h"

#include "SplashWindow.h"
#include "support/ErrorOwner.h"
#include "support/SettingsFile.h"
#include "support/SettingsNames.h"
#include "support/TextCompare.h"
#include "support/Trace.h"

namespace {

constexpr const wchar_t* splashScreenKey = L"Splash Screen";
constexpr const wchar_t* splashShadowKey = L"Splash Screen Shadow";
// Spelt so in every settings file that has it.
constexpr const wchar_t* preferNativeKey = L"Preffer Native Splash Screen";

void runMessageLoop() {
    MSG message;
    // -1 (an error) ends the loop as a quit does, rather than spinning on it.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Error boxes raised from now on are owned by the window. A box that came first has withdrawn the splash: it is
// not shown, so that it cannot cover the box (destroying it marks it gone).
void showSplashWindow(SplashState& splash) {
    HWND window = splash.splashWindow->create(splash.splashImagePath, splash.splashShadowValue == L"true");
    bool shown = window && publishSplashWindow(window);
    if (shown) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    } else if (window) {
        DestroyWindow(window);
    } else {
        splashWindowGone();
    }
    runMessageLoop();
    if (shown)
        DestroyWindow(window);
}

DWORD WINAPI splashThreadProc(void* parameter) {
    showSplashWindow(*static_cast<SplashState*>(parameter));
    return 0;
}

void startOwnSplash(SplashState& splash) {
    splash.splashWindow = std::make_unique<SplashWindow>();
    splashWindowPending();
    splash.splashThread.reset(CreateThread(nullptr, 0, splashThreadProc, &splash, 0, &splash.splashThreadId));
    if (!splash.splashThread)
        splashWindowGone();
}

} // namespace

SplashState::SplashState() = default;
SplashState::~SplashState() = default;

bool startSplash(SplashState& splash, const std::wstring& jvmPath) {
    std::wstring settingsPath;
    if (!settingsFilePath(settingsPath))
        return false;
    PlainSettingsReader settings(settingsPath);
    splash.splashImagePath = settings.read(section::display, splashScreenKey);
    splash.splashShadowValue = settings.read(section::display, splashShadowKey);
    bool preferNative = isYes(settings.read(section::display, preferNativeKey));
    if (splash.splashImagePath.empty()) {
        trace([] { return L"splash: none, \"Splash Screen\" is empty"; });
        return true;
    }
    if (preferNative) {
        std::wstring library = findNativeSplashLibrary(jvmPath);
        if (!library.empty() && startNativeSplash(library, splash.splashImagePath, splash.splashCloseRoutine)) {
            trace([&] { return L"splash: " + quotedForTrace(splash.splashImagePath) + L" shown by " + library; });
            return true;
        }
    }
    trace([&] { return L"splash: " + quotedForTrace(splash.splashImagePath) + L" shown by the launcher"; });
    startOwnSplash(splash);
    return true;
}

void closeSplash(SplashState& splash) {
    if (!splash.splashWindow)
        return;
    // A thread that has not made its message queue yet misses a quit message, so it is posted again until the
    // thread ends, with a short wait on the thread between posts.
    while (splash.splashThread) {
        PostThreadMessageW(splash.splashThreadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(splash.splashThread.get(), 5) != WAIT_TIMEOUT)
            break;
    }
    splash.splashThread.reset();
    splash.splashWindow.reset();
}

void closeNativeSplash(SplashState& splash) {
    SplashCloseRoutine close = splash.splashCloseRoutine;
    splash.splashCloseRoutine = nullptr;
    if (close)
        close();
}
