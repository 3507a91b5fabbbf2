#include "ClassDataArchive.h"

#include "support/TextFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

const char* const ownChoice = "the parameters choose class data sharing themselves";
const char* const noDump = "the runtime writes no archive with it, or does not start";

struct Obstacle {
    const char* prefix;
    const char* reason;
};

// Each checked against OpenJDK 17: with an agent or these module options the VM refuses ArchiveClassesAtExit,
// with a class loader of the application's own it archives none of its classes, and without compressed class
// pointers or with another object alignment it cannot use its default archive, on which ours builds.
const Obstacle hotSpotObstacles[] = {
    {"-Xshare", ownChoice},
    {"-javaagent:", noDump},
    {"-agentlib:", noDump},
    {"-agentpath:", noDump},
    {"-Xrun", noDump},
    {"--patch-module", noDump},
    {"--upgrade-module-path", noDump},
    {"--limit-modules", noDump},
    {"-Djava.system.class.loader=", "the runtime archives no classes of an application's own class loader"},
    {"-XX:-UseCompressedClassPointers", "the runtime's default archive cannot be used with it"},
    {"-XX:ObjectAlignmentInBytes=", "the runtime's default archive cannot be used with it"},
};

// SharedArchiveFile, ArchiveClassesAtExit, AutoCreateSharedArchive, UseSharedSpaces, SharedClassListFile, ...
bool choosesSharing(const std::string& option) {
    return startsWith(option, "-XX:") && (contains(option, "Shared") || contains(option, "ArchiveClasses"));
}

std::wstring describeObstacle(const std::string& option, const char* reason) {
    return std::wstring(option.begin(), option.end()) + L": " + std::wstring(reason, reason + strlen(reason));
}

// HotSpot's sizes: a number of bytes, or of k, m, g or t (either case). Anything else reads as too large.
uint64_t heapBytes(const std::string& value) {
    char* end = nullptr;
    unsigned long long number = std::strtoull(value.c_str(), &end, 10);
    if (end == value.c_str())
        return UINT64_MAX;
    const std::string units = "kmgt";
    size_t unit = *end == '\0' ? std::string::npos : units.find(char(*end | 0x20));
    if (*end != '\0' && (unit == std::string::npos || end[1] != '\0'))
        return UINT64_MAX;
    int shift = unit == std::string::npos ? 0 : 10 * int(unit + 1);
    return number > (UINT64_MAX >> shift) ? UINT64_MAX : uint64_t(number) << shift;
}

// Compressed object pointers reach a heap of 32 GiB; the VM's own margin below that is left to it.
constexpr uint64_t compressedOopsHeapLimit = 31ull << 30;

bool isLargeHeap(const std::string& option) {
    for (const char* prefix : {"-Xmx", "-XX:MaxHeapSize="}) {
        if (startsWith(option, prefix))
            return heapBytes(option.substr(strlen(prefix))) >= compressedOopsHeapLimit;
    }
    return false;
}

std::vector<std::string> splitEntries(const std::string& list) {
    std::vector<std::string> entries;
    for (size_t start = 0; start <= list.size();) {
        size_t end = std::min(list.find(';', start), list.size());
        if (end > start)
            entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool isHexDigits(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

enum class ArchiveFile { Foreign, Archive, Written, FailureMark };

// Which of this application's files the name is, and the archive name it belongs to.
ArchiveFile classify(const std::wstring& name, const std::wstring& application, std::wstring& archive) {
    const size_t length = application.size() + 1 + 16 + 4; // <application>-<16 hex digits>.jsa
    if (name.size() < length || name.compare(0, application.size() + 1, application + L"-") != 0 ||
        !isHexDigits(name.substr(application.size() + 1, 16)) || name.compare(length - 4, 4, L".jsa") != 0)
        return ArchiveFile::Foreign;
    archive = name.substr(0, length);
    std::wstring rest = name.substr(length);
    if (rest.empty())
        return ArchiveFile::Archive;
    if (rest == L".failed")
        return ArchiveFile::FailureMark;
    if (rest.size() > 5 && rest.front() == L'.' && rest.compare(rest.size() - 4, 4, L".tmp") == 0)
        return ArchiveFile::Written;
    return ArchiveFile::Foreign;
}

// An hour in 100 ns units: a VM writes its archive in seconds.
constexpr uint64_t abandonedAfter = 3600ull * 10000000ull;

} // namespace

ArchiveMode archiveModeFor(const ArchiveRuntime& runtime, bool archiveExists) {
    if (runtime.openJ9)
        return runtime.feature >= 8 ? ArchiveMode::ClassCache : ArchiveMode::None;
    if (runtime.feature >= 19)
        return ArchiveMode::AutoCreate;
    if (runtime.feature >= 13)
        return archiveExists ? ArchiveMode::Map : ArchiveMode::DumpAtExit;
    return ArchiveMode::None;
}

std::wstring archiveObstacle(const std::vector<std::string>& options, bool openJ9) {
    for (const std::string& option : options) {
        if (openJ9 ? startsWith(option, "-Xshare") : choosesSharing(option))
            return describeObstacle(option, ownChoice);
        for (const Obstacle& obstacle : hotSpotObstacles) {
            if (!openJ9 && startsWith(option, obstacle.prefix))
                return describeObstacle(option, obstacle.reason);
        }
    }
    return std::wstring();
}

// ZGC works without them; MaxRAM and its relatives let the heap grow past what they reach.
bool mayRunWithoutCompressedOops(const std::vector<std::string>& options) {
    return std::any_of(options.begin(), options.end(), [](const std::string& option) {
        return option == "-XX:-UseCompressedOops" || option == "-XX:+UseZGC" || startsWith(option, "-XX:MaxRAM") ||
               isLargeHeap(option);
    });
}

bool shapesArchive(const std::string& option) {
    static const char* const prefixes[] = {"-Xmx",
                                           "-XX:MaxHeapSize=",
                                           "-XX:MaxRAM",
                                           "-XX:+UseCompressed",
                                           "-XX:-UseCompressed",
                                           "-XX:ObjectAlignmentInBytes=",
                                           "--module-path",
                                           "--add-modules",
                                           "-Djdk.module."};
    bool collector = (startsWith(option, "-XX:+Use") || startsWith(option, "-XX:-Use")) && option.size() > 2 &&
                     option.compare(option.size() - 2, 2, "GC") == 0;
    return collector || std::any_of(std::begin(prefixes), std::end(prefixes),
                                    [&option](const char* prefix) { return startsWith(option, prefix); });
}

std::vector<std::string> classPathEntries(const std::vector<std::string>& options) {
    const char* const prefix = "-Djava.class.path=";
    for (auto option = options.rbegin(); option != options.rend(); ++option) {
        if (startsWith(*option, prefix))
            return splitEntries(option->substr(strlen(prefix)));
    }
    return {};
}

std::vector<std::string> modulePathEntries(const std::vector<std::string>& options) {
    std::vector<std::string> entries;
    for (const std::string& option : options) {
        for (const char* prefix : {"--module-path=", "-Djdk.module.path="}) {
            if (!startsWith(option, prefix))
                continue;
            std::vector<std::string> more = splitEntries(option.substr(strlen(prefix)));
            entries.insert(entries.end(), more.begin(), more.end());
        }
    }
    return entries;
}

void ArchiveFingerprint::addBytes(uint64_t value, int count) {
    for (int byte = 0; byte < count; ++byte) {
        hash_ ^= (value >> (8 * byte)) & 0xFF;
        hash_ *= 1099511628211ull;
    }
}

// UTF-16 units, as on Windows. Each text ends with U+FFFF, which no path or option holds (it is no character), so
// that ("ab", "c") and ("a", "bc") differ.
void ArchiveFingerprint::add(const std::wstring& text) {
    for (wchar_t c : text)
        addBytes(uint64_t(c), 2);
    addBytes(0xFFFF, 2);
}

void ArchiveFingerprint::add(const std::wstring& path, const FileFacts& facts) {
    add(path);
    addBytes(facts.exists ? (facts.folder ? 2 : 1) : 0, 1);
    if (facts.exists && !facts.folder) {
        addBytes(facts.size, 8);
        addBytes(facts.time, 8);
    }
}

std::wstring archiveApplicationName(const std::wstring& executableName) {
    std::wstring stem = executableName.substr(0, executableName.rfind(L'.'));
    std::wstring name;
    for (wchar_t c : stem) {
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
            c == L'_' || c == L'.')
            name += c;
    }
    return name.empty() ? L"app" : name;
}

std::wstring archiveFileName(const std::wstring& application, uint64_t fingerprint) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring hex(16, L'0');
    for (int i = 15; i >= 0; --i, fingerprint >>= 4)
        hex[size_t(i)] = digits[fingerprint & 0xF];
    return application + L"-" + hex + L".jsa";
}

std::wstring writtenArchiveName(const std::wstring& archiveName, unsigned long processId) {
    return archiveName + L"." + decimalText(processId) + L".tmp";
}

std::wstring failureMarkName(const std::wstring& archiveName) { return archiveName + L".failed"; }

std::vector<std::wstring> filesToPrune(const std::vector<FolderEntry>& entries, const std::wstring& application,
                                       const std::wstring& archiveName, uint64_t now) {
    std::vector<std::wstring> pruned;
    const FolderEntry* newestOther = nullptr;
    for (const FolderEntry& entry : entries) {
        std::wstring archive;
        ArchiveFile kind = classify(entry.name, application, archive);
        bool abandoned = kind == ArchiveFile::Written && now > entry.time && now - entry.time > abandonedAfter;
        bool ofOtherName = archive != archiveName && (kind == ArchiveFile::Archive || kind == ArchiveFile::FailureMark);
        if (abandoned || ofOtherName)
            pruned.push_back(entry.name);
        if (ofOtherName && kind == ArchiveFile::Archive && (!newestOther || entry.time > newestOther->time))
            newestOther = &entry;
    }
    if (newestOther)
        pruned.erase(std::find(pruned.begin(), pruned.end(), newestOther->name));
    return pruned;
}

std::vector<std::string> archiveOptions(ArchiveMode mode, const std::string& file, const std::string& application) {
    const std::string quiet = "-Xlog:cds*=off";
    switch (mode) {
    case ArchiveMode::Map:
        return {quiet, "-XX:SharedArchiveFile=" + file};
    case ArchiveMode::DumpAtExit:
        return {quiet, "-XX:ArchiveClassesAtExit=" + file};
    case ArchiveMode::AutoCreate:
        return {quiet, "-XX:SharedArchiveFile=" + file, "-XX:+AutoCreateSharedArchive"};
    case ArchiveMode::ClassCache:
        return {"-Xshareclasses:name=" + application + ",cacheDir=" + file + ",nonfatal,silent"};
    default:
        return {};
    }
}
