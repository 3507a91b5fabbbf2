#include "NativeSplash.h"

#include "support/AnsiText.h"
#include "support/FileSystem.h"
#include "support/GrowingBuffer.h"
#include "support/UniqueResource.h"

namespace {

using SplashInitProc = void(__cdecl*)();
using SplashLoadFileProc = int(__cdecl*)(const char*);
using SplashSetFileJarNameProc = void(__cdecl*)(const char*, const char*);

// By its full path, with its own folder searched first for what it imports: the executable's folder (often a
// Downloads folder) must not supply the runtime's libraries.
HMODULE loadSplashLibrary(const std::wstring& libraryPath) {
    std::wstring fullPath;
    bool formed = readGrowingBuffer(fullPath, [&libraryPath](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetFullPathNameW(libraryPath.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
        return length == 0 ? bufferCallFailed : length;
    });
    if (!formed)
        return nullptr;
    return LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Proc> Proc entryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace

std::wstring findNativeSplashLibrary(const std::wstring& jvmPath) {
    std::wstring candidate = nativeSplashLibraryCandidate(jvmPath);
    return !candidate.empty() && entryExists(candidate) ? candidate : std::wstring();
}

bool startNativeSplash(const std::wstring& libraryPath, const std::wstring& imagePath,
                       SplashCloseRoutine& closeRoutine) {
    // A path given as "?" characters would start a splash that shows nothing; the own window shows it instead.
    std::string eightBitImage;
    if (!eightBitPath(imagePath, eightBitImage))
        return false;
    UniqueModule library(loadSplashLibrary(libraryPath));
    if (!library)
        return false;
    auto init = entryPoint<SplashInitProc>(library.get(), "SplashInit");
    auto loadFile = entryPoint<SplashLoadFileProc>(library.get(), "SplashLoadFile");
    auto setFileJarName = entryPoint<SplashSetFileJarNameProc>(library.get(), "SplashSetFileJarName");
    // A library that cannot start a splash has none to close either.
    if (!init || !loadFile || !setFileJarName)
        return false;
    closeRoutine = entryPoint<SplashCloseRoutine>(library.get(), "SplashClose");
    // Never unloaded: the splash it shows, and later the Java VM, go on using it.
    library.release();
    init();
    loadFile(eightBitImage.c_str());
    setFileJarName(eightBitImage.c_str(), "");
    return true;
}
