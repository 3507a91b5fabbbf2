#include "RuntimeSearch.h"

#include "support/Environment.h"
#include "support/FileSystem.h"
#include "support/GrowingBuffer.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/UniqueResource.h"

#include <windows.h>

#include <new>

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD maxKeyNameLength = 256;

REGSAM accessFor(RegistryView view) { return view == RegistryView::Wow32 ? KEY_READ | KEY_WOW64_32KEY : KEY_READ; }

UniqueRegKey openMachineKey(const std::wstring& path, RegistryView view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, accessFor(view), &key) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

std::vector<std::wstring> subkeyNames(const std::wstring& keyPath, RegistryView view) {
    std::vector<std::wstring> names;
    UniqueRegKey key = openMachineKey(keyPath, view);
    if (!key)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[maxKeyNameLength];
        DWORD length = maxKeyNameLength;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

// The "JavaHome" text of a subkey: a string as it is stored, an expandable string expanded. Empty when the subkey
// or the value is missing or unreadable, or when the value is not a string.
std::wstring readJavaHome(const std::wstring& subkeyPath, RegistryView view) {
    UniqueRegKey key = openMachineKey(subkeyPath, view);
    if (!key)
        return std::wstring();
    DWORD type = REG_NONE;
    std::wstring data;
    // A buffer that is too small is answered with ERROR_MORE_DATA and the size needed in bytes. One character is
    // kept free: the stored text need not end in a null.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD bytes = static_cast<DWORD>((capacity - 1) * sizeof(wchar_t));
        LSTATUS status =
            RegQueryValueExW(key.get(), L"JavaHome", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
        if (status == ERROR_MORE_DATA)
            return (bytes + 1) / sizeof(wchar_t);
        return status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : bufferCallFailed;
    };
    if (!readGrowingBuffer(data, fill) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    // The text may hold a null early; it ends at the first one.
    data.resize(wcslen(data.c_str()));
    return type == REG_EXPAND_SZ ? expandEnvironment(data) : data;
}

// Running out of memory costs that one candidate, not the search.
void appendCandidate(std::vector<JreCandidate>& candidates, JreCandidate&& candidate) {
    try {
        candidates.push_back(std::move(candidate));
    } catch (const std::bad_alloc&) {
    }
}

} // namespace

std::wstring findJvmLibrary(const std::wstring& home, JvmType type, bool& isServer) {
    if (home.empty())
        return std::wstring();
    // A relative home is made full here, against the current folder, as the search below would resolve it: loading
    // the library by a relative path would search the DLL search order instead and might load another one.
    std::wstring fullHome = isRelativePath(home) ? fullPathOf(home) : home;
    for (const JvmProbe& probe : jvmProbes(type)) {
        std::wstring path = fullHome + probe.relativePath;
        if (entryExists(path)) {
            isServer = probe.isServer;
            return path;
        }
    }
    return std::wstring();
}

std::wstring findJvmLibrary(const std::wstring& home, JvmType type) {
    bool isServer = false;
    return findJvmLibrary(home, type, isServer);
}

bool isRuntimeFolder(const std::wstring& home) { return entryExists(home + L"bin\\java.dll"); }

bool findLocalRuntime(std::wstring& home) {
    home.clear();
    std::wstring executable = executablePath();
    if (executable.empty())
        return false;
    std::wstring folder = folderWithBackslash(executable);
    if (isRuntimeFolder(folder))
        home = folder;
    else if (isRuntimeFolder(folder + L"jre64\\"))
        home = folder + L"jre64\\";
    return true;
}

void collectRegistryCandidates(const RuntimePolicy& policy, const VendorKey& key, RegistryView view,
                               std::vector<JreCandidate>& candidates) {
    for (const std::wstring& name : subkeyNames(key.path, view)) {
        JavaVersion version = parseJavaVersion(name, 0);
        if (!isWithinBounds(policy, version))
            continue;
        std::wstring javaHome = readJavaHome(key.path + name, view);
        if (javaHome.empty())
            continue;
        JreCandidate candidate;
        candidate.version = version;
        candidate.home = runtimeHomeFor(key, javaHome);
        if (findJvmLibrary(candidate.home, probeTypeFor(policy, key), candidate.isServer).empty())
            continue;
        candidate.isFavored = isKeyFavored(policy, key);
        appendCandidate(candidates, std::move(candidate));
    }
}
