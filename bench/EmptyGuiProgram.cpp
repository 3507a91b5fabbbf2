// The baseline of the start-up benchmarks: a GUI program that does nothing but note when its code first runs.
// With "--queue" it first gives its thread a message queue, as any GUI program does before its first window
// (and as the launcher does at its entry point). With "--window=<width>x<height>" it shows a borderless window of
// that size at the centre of the screen instead, and waits to be ended.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

int stampFirstCode() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"KORU_BENCH_STAMP", path, MAX_PATH) == 0)
        return 1;
    FILE* file = _wfopen(path, L"w");
    if (!file)
        return 1;
    unsigned long long stamp = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    fprintf(file, "main.time=%llu\n", stamp);
    fclose(file);
    return 0;
}

int showWindow(int width, int height) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    description.lpszClassName = L"EmptyGuiWindow";
    RegisterClassExW(&description);
    HWND window = CreateWindowExW(
        WS_EX_TOOLWINDOW, L"EmptyGuiWindow", L"", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
        (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr, description.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    int width = 0;
    int height = 0;
    if (const wchar_t* size = wcsstr(commandLine, L"--window=");
        size && swscanf(size + 9, L"%dx%d", &width, &height) == 2)
        return showWindow(width, height);
    if (wcsstr(commandLine, L"--queue"))
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
    return stampFirstCode();
}
