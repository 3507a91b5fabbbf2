// Where both launchers begin, before the C runtime: the library search is made safe before anything else runs, so
// that no library the runtime, the launcher or the application loads later comes from the folder the user started
// the program in (Downloads, a document's folder), and no system library the launcher loads comes from beside it.
#include "support/Console.h"

#include <windows.h>

#include <delayimp.h>

extern "C" int WinMainCRTStartup();
extern "C" int mainCRTStartup();

namespace {

// The current folder leaves the search for good. The exe's own folder, the system folders and Path stay: the
// application's libraries beside the exe, the runtime's jvm.dll with what it needs from the runtime's bin folder
// (which the launcher puts on Path) and System.loadLibrary's libraries with theirs all load as before.
void makeLibrarySearchSafe() { SetDllDirectoryW(L""); }

// A system library from the system folder and nowhere else; its own dependencies are looked for there too. A name
// the application's manifest redirects (the common controls) still goes to its side-by-side copy. Windows 7
// without its loader update knows no search flags: there the full path in the system folder does the same.
HMODULE loadSystemLibrary(const char* name) {
    wchar_t wideName[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, MAX_PATH) == 0)
        return nullptr;
    HMODULE module = LoadLibraryExW(wideName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + wcslen(wideName) >= MAX_PATH)
        return nullptr;
    path[length] = L'\\';
    wcscpy(path + length + 1, wideName);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The delay-load helper would load each system library by its bare name, which finds a copy beside the exe first.
// It asks here before it loads one, and takes the module given; given none, it would search as before, so a
// library missing from the system folder ends the start instead.
FARPROC WINAPI loadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary)
        return nullptr;
    // The window library loads the input method library by its bare name when a window appears, and that one needs
    // OLE, which a loader without a list of known system libraries then looks for beside the exe first. Loaded
    // from the system folder before, OLE is the copy every later load of that name gets.
    if (lstrcmpiA(info->szDll, "user32.dll") == 0)
        loadSystemLibrary("ole32.dll");
    HMODULE module = loadSystemLibrary(info->szDll);
    if (module == nullptr)
        ExitProcess(static_cast<UINT>(-1));
    return reinterpret_cast<FARPROC>(module);
}

} // namespace

// Declared by <delayimp.h> with C linkage; this definition takes the place of the C runtime's empty one.
PfnDliHook __pfnDliNotifyHook2 = loadDelayedLibrary;

// The entry points the linker is given, one for each subsystem.
extern "C" int startGuiLauncher() {
    makeLibrarySearchSafe();
    return WinMainCRTStartup();
}

extern "C" int startConsoleLauncher() {
    makeLibrarySearchSafe();
    markConsoleLauncher();
    return mainCRTStartup();
}
