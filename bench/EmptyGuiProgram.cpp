// The baseline of the start-up benchmark: a GUI program that does nothing but note when its code first runs.
// With "--queue" it first gives its thread a message queue, as any GUI program does before its first window
// (and as the launcher does at its entry point).
#include <windows.h>

#include <cstdio>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (wcsstr(commandLine, L"--queue"))
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
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
