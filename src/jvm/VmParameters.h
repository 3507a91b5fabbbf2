#pragma once
// The text work behind the Java VM options: splitting "Virtual Machine Parameters", quote removal, memory sizes
// given as a percentage of the machine's memory, stack sizes, class path entries and the composed paths.
// Portable: no Windows headers.
#include <cstdint>
#include <string>
#include <vector>

// The two memory figures a percentage can refer to, in bytes.
struct MemoryBases {
    uint64_t totalPhysical = 0;    // "P": the machine's physical memory
    uint64_t availableVirtual = 0; // "T": the address space still free in the launcher process
};

// Only spaces separate; double-quoted stretches keep their spaces; quotes stay in the tokens.
std::vector<std::wstring> splitVmParameters(const std::wstring& text);

// Deletes each pair of quotes and keeps what they enclose; a doubled closing quote leaves one literal quote.
std::wstring removeQuotes(const std::wstring& token);

struct NumberList {
    size_t start = 0; // index of the first digit or ":", or the text's length
    std::vector<uint64_t> numbers;
};
NumberList parseNumberList(const std::wstring& text);

// -Xss512k and friends: bytes, or 0 when the text is not one number with an optional k, m or g.
uint64_t parseByteSize(const std::wstring& text);

// -Xmx50P, -Xmx40:256:2048P, -Xms25:128T: the percentage of the base, bounded by the minimum and maximum in MiB,
// rewritten in KiB (-Xmx8388608K).
std::wstring rewriteMemoryPercentage(const std::wstring& token, const MemoryBases& memory);

// "-Xms", "-Xmx" or "-Xss" given as a percentage of the machine's memory (quotes already removed).
bool isMemoryPercentage(const std::wstring& unquoted);

// Quote removal, the percentage rewrite and the remembered "-Xss" stack size for one parameter token.
std::wstring normalizeVmParameter(const std::wstring& token, const MemoryBases& memory, uint64_t& threadStackSize);

// A class path entry counts as absolute when its second character is ":" or it begins with two backslashes.
bool isAbsoluteClassPathEntry(const std::wstring& entry);

// The search pattern of a relative entry: the entry below the launcher's folder (given with its trailing
// backslash), whether or not the entry starts with a separator of its own.
std::wstring relativeClassPathPattern(const std::wstring& launcherFolder, const std::wstring& entry);

// The VM takes an empty entry of a path for the current folder, which may be wherever the user started from
// (Downloads, a document's folder): the path without them, and without a ";" at its end.
std::wstring pathWithoutEmptyEntries(const std::wstring& path);

// The class path as the VM is given it: without empty entries, and the one after a final ";" (or an empty class
// path, which the VM would take for the current folder too) becomes the launcher's folder, given with its trailing
// backslash, where an application keeps what it ships.
std::wstring classPathForVm(const std::wstring& classPath, const std::wstring& launcherFolder);

// The folder part of a search pattern, up to and including its last "\" or "/": what the found names go after.
std::wstring patternFolder(const std::wstring& pattern);

// The library path before expansion: the setting, the launcher's folder, ".", %Path% and the runtime's lib folder.
std::wstring composeLibraryPath(const std::wstring& libraryPath, const std::wstring& launcherFolder,
                                const std::wstring& jvmPath);

// The new Path before expansion: "System Path" first, then the old Path, then the runtime's bin folder.
std::wstring composeSystemPath(const std::wstring& systemPath, const std::wstring& jvmPath);
