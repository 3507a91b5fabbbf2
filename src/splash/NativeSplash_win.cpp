#include "NativeSplash.h"

#include "support/FileSystem.h"
#include "support/GrowingBuffer.h"
#include "support/UniqueResource.h"

namespace {

using SplashInitProc = void(__cdecl*)();
using SplashLoadFileProc = int(__cdecl*)(const char*);
using SplashSetFileJarNameProc = void(__cdecl*)(const char*, const char*);

std::string toThreadAnsi(const std::wstring& text) {
    int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring fromThreadAnsi(const std::string& text) {
    int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

// A round trip through the code page tells loss of every kind: default characters and best-fit look-alikes.
bool convertsWithoutLoss(const std::wstring& text, std::string& eightBit) {
    std::string converted = toThreadAnsi(text);
    if (fromThreadAnsi(converted) != text)
        return false;
    eightBit = std::move(converted);
    return true;
}

// Empty when the file does not exist or the volume keeps no short names (the long name then comes back).
std::wstring shortPathOf(const std::wstring& path) {
    std::wstring shortPath;
    readGrowingBuffer(shortPath, [&path](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(capacity));
        return length == 0 ? bufferCallFailed : length;
    });
    return shortPath;
}

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

bool eightBitImagePath(const std::wstring& imagePath, std::string& eightBit) {
    if (convertsWithoutLoss(imagePath, eightBit))
        return true;
    std::wstring shortPath = shortPathOf(imagePath);
    return !shortPath.empty() && convertsWithoutLoss(shortPath, eightBit);
}

bool startNativeSplash(const std::wstring& libraryPath, const std::wstring& imagePath,
                       SplashCloseRoutine& closeRoutine) {
    // A path given as "?" characters would start a splash that shows nothing; the own window shows it instead.
    std::string eightBitPath;
    if (!eightBitImagePath(imagePath, eightBitPath))
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
    loadFile(eightBitPath.c_str());
    setFileJarName(eightBitPath.c_str(), "");
    return true;
}
