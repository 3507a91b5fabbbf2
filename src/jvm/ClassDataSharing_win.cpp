#include "ClassDataSharing.h"

#include "VmCreation.h"
#include "support/AnsiText.h"
#include "support/Environment.h"
#include "support/FileSystem.h"
#include "support/Paths.h"
#include "support/TextFormat.h"
#include "support/TextSplit.h"
#include "support/Trace.h"
#include "support/UniqueResource.h"

#include <iterator>

namespace {

// A VM writes a few MiB for a desktop application and tens for a large one; with less room than this the start
// stays ordinary rather than risk a VM that fails at its end.
constexpr uint64_t roomNeeded = 512ull << 20;

// What the VM's end does with the archive: set before the VM is created, read by whichever thread ends it.
struct ArchiveEnd {
    std::wstring written; // the file the VM writes at its end, to be published; empty when the VM names it itself
    std::wstring archive;
    std::wstring failureMark;
};
ArchiveEnd archiveEnd;

void traceDecision(const std::wstring& text) {
    trace([&] { return L"class data sharing: " + text; });
}

uint64_t joined(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

FileFacts factsOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FileFacts facts;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.exists = true;
    facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.size = joined(data.nFileSizeHigh, data.nFileSizeLow);
    facts.time = joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return facts;
}

// The VM writes its archives read-only: such a file can be renamed, but deleted only once the attribute has gone.
void deleteFile(const std::wstring& path) noexcept {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// The VM has finished writing, so the archive appears under its name whole or not at all. When another start has
// published it meanwhile (and maps it, so that it cannot be replaced), this start's copy goes.
void publishArchive() noexcept {
    if (archiveEnd.written.empty())
        return;
    if (MoveFileExW(archiveEnd.written.c_str(), archiveEnd.archive.c_str(), 0)) {
        traceWithoutWaiting([] { return L"class data sharing: published " + archiveEnd.archive; });
        return;
    }
    DWORD error = GetLastError();
    deleteFile(archiveEnd.written);
    traceWithoutWaiting([error] {
        return L"class data sharing: " + archiveEnd.written + L" not published (error " + decimalText(error) + L")";
    });
}

// The VM gave up with our options among its own, while it was made or at its end: later starts of this archive
// name start without them.
void markArchiveFailed() noexcept {
    UniqueFileHandle mark(CreateFileW(archiveEnd.failureMark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!archiveEnd.written.empty())
        deleteFile(archiveEnd.written);
    traceWithoutWaiting([] { return L"class data sharing: the VM gave up; marked " + archiveEnd.failureMark; });
}

std::wstring describeRuntime(const ArchiveRuntime& runtime) {
    if (runtime.feature == 0)
        return L"a runtime of unknown version";
    return L"Java " + decimalText(runtime.feature) + (runtime.openJ9 ? L" on OpenJ9" : L"");
}

std::string ascii(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The VM takes options from these variables too, JAVA_TOOL_OPTIONS before the launcher's and _JAVA_OPTIONS after them:
// an agent named there stops a VM that is to write an archive as surely as one among the parameters.
std::vector<std::string> optionsTheVmTakes(const std::vector<std::string>& options) {
    auto words = [](const wchar_t* name) {
        std::vector<std::string> words;
        for (const std::wstring& word : splitArguments(environmentVariable(name)))
            words.push_back(toThreadAnsi(word));
        return words;
    };
    std::vector<std::string> all = words(L"JAVA_TOOL_OPTIONS"), later = words(L"_JAVA_OPTIONS");
    all.insert(all.end(), options.begin(), options.end());
    all.insert(all.end(), later.begin(), later.end());
    return all;
}

// The archive options go first: a -Xlog among the parameters still decides what the VM reports.
void useOptions(JavaLaunch& java, const std::vector<std::string>& options) {
    java.vmOptions.insert(java.vmOptions.begin(), options.begin(), options.end());
}

void addRuntimeFiles(ArchiveFingerprint& fingerprint, const std::wstring& jvmPath) {
    std::wstring folder = parentFolder(jvmPath, 1);
    for (const std::wstring& path : {jvmPath, folder + L"\\classes.jsa", folder + L"\\classes_nocoops.jsa"})
        fingerprint.add(path, factsOf(path));
}

// The first folder on the class path but the launcher's own, which ends it and from which the application is not
// expected to load classes: a VM that archives a class from a folder that holds files fails at its end.
std::wstring addClassPath(ArchiveFingerprint& fingerprint, const std::vector<std::string>& options,
                          const std::wstring& launcherFolder) {
    std::wstring firstFolder;
    for (const std::string& entry : classPathEntries(options)) {
        std::wstring path = fromThreadAnsi(entry);
        FileFacts facts = factsOf(path);
        fingerprint.add(path, facts);
        if (facts.folder && path != launcherFolder && firstFolder.empty())
            firstFolder = path;
    }
    return firstFolder;
}

// A folder on a module path counts by the jars in it. The first folder that holds an exploded module (a folder, or
// module-info.class) is told: a VM that archived a class from one fails at its end.
std::wstring addModulePath(ArchiveFingerprint& fingerprint, const std::vector<std::string>& options) {
    std::wstring explodedModule;
    for (const std::string& entry : modulePathEntries(options)) {
        std::wstring path = fromThreadAnsi(entry);
        FileFacts facts = factsOf(path);
        fingerprint.add(path, facts);
        WIN32_FIND_DATAW found;
        UniqueFindHandle search(facts.folder ? FindFirstFileW((path + L"\\*").c_str(), &found) : INVALID_HANDLE_VALUE);
        for (bool more = search.valid(); more; more = FindNextFileW(search.get(), &found)) {
            std::wstring name = found.cFileName;
            bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (explodedModule.empty() && ((folder && name != L"." && name != L"..") || name == L"module-info.class"))
                explodedModule = path;
            if (!folder)
                fingerprint.add(name,
                                {true, false, joined(found.nFileSizeHigh, found.nFileSizeLow),
                                 joined(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)});
        }
    }
    return explodedModule;
}

uint64_t fileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return joined(now.dwHighDateTime, now.dwLowDateTime);
}

void pruneArchives(const std::wstring& folder, const std::wstring& application, const std::wstring& archiveName) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = search.valid(); more; more = FindNextFileW(search.get(), &found))
        entries.push_back(
            {found.cFileName, joined(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)});
    for (const std::wstring& name : filesToPrune(entries, application, archiveName, fileTimeNow())) {
        deleteFile(folder + L"\\" + name);
        traceDecision(L"removed " + name);
    }
}

// What a VM that writes an archive at its end needs, lest it fail there: its default archive (without one it refuses
// to start), room, and a folder this start may write in.
std::wstring checkDumpConditions(const std::vector<std::string>& options, const ArchiveSite& site,
                                 const std::wstring& written) {
    std::vector<std::wstring> needed = {parentFolder(site.jvmPath, 1) + L"\\classes.jsa"};
    if (mayRunWithoutCompressedOops(options))
        needed.push_back(parentFolder(site.jvmPath, 1) + L"\\classes_nocoops.jsa");
    for (const std::wstring& defaultArchive : needed) {
        if (!factsOf(defaultArchive).exists)
            return L"the runtime has no default archive " + defaultArchive;
    }
    ULARGE_INTEGER room;
    if (!GetDiskFreeSpaceExW(site.folder.c_str(), &room, nullptr, nullptr) || room.QuadPart < roomNeeded)
        return L"less than 512 MiB free in " + site.folder;
    // No live process but this one has its id: a file of that name is left from an earlier one. The probe is made and
    // gone again at once: the VM makes the file anew at its end.
    deleteFile(written);
    UniqueFileHandle probe(CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!probe)
        return written + L" cannot be written (error " + decimalText(GetLastError()) + L")";
    return std::wstring();
}

std::wstring describeMode(ArchiveMode mode, const std::wstring& archive, const std::wstring& written) {
    if (mode == ArchiveMode::Map)
        return L"maps " + archive;
    if (mode == ArchiveMode::DumpAtExit)
        return L"no archive yet: the VM writes " + written + L" at its end, then published as " + archive;
    return L"the runtime maps " + archive + L", or writes it at its end when it is missing or stale";
}

std::wstring setUpHotSpotArchive(JavaLaunch& java, const std::vector<std::string>& options, const ArchiveSite& site,
                                 const std::string& folder, const std::wstring& application) {
    ArchiveFingerprint fingerprint;
    addRuntimeFiles(fingerprint, site.jvmPath);
    std::wstring classFolder = addClassPath(fingerprint, options, folderWithBackslash(site.executable));
    if (!classFolder.empty())
        return L"the class path holds the folder " + classFolder +
               L": the runtime writes no archive with classes from one";
    std::wstring explodedModule = addModulePath(fingerprint, options);
    if (!explodedModule.empty())
        return L"the module path holds exploded modules in " + explodedModule +
               L": the runtime writes no archive with classes from a folder";
    for (const std::string& option : options) {
        if (shapesArchive(option))
            fingerprint.add(fromThreadAnsi(option));
    }
    std::wstring name = archiveFileName(application, fingerprint.value());
    std::wstring archive = site.folder + L"\\" + name;
    if (factsOf(site.folder + L"\\" + failureMarkName(name)).exists)
        return L"a start with " + archive + L" failed before";
    bool exists = factsOf(archive).exists;
    ArchiveMode mode = archiveModeFor(site.runtime, exists);
    std::wstring writtenName = writtenArchiveName(name, GetCurrentProcessId());
    std::wstring written = site.folder + L"\\" + writtenName;
    if (dumpsArchive(mode) && !exists) {
        pruneArchives(site.folder, application, name);
        std::wstring reason = checkDumpConditions(options, site, written);
        if (!reason.empty())
            return reason;
    }
    bool dumpsHere = mode == ArchiveMode::DumpAtExit;
    archiveEnd = {dumpsHere ? written : std::wstring(), archive, site.folder + L"\\" + failureMarkName(name)};
    setVmEndHandlers({publishArchive, markArchiveFailed});
    useOptions(java, archiveOptions(mode, folder + "\\" + ascii(dumpsHere ? writtenName : name), ascii(application)));
    traceDecision(describeRuntime(site.runtime) + L": " + describeMode(mode, archive, written));
    return std::wstring();
}

std::wstring setUp(JavaLaunch& java, const ArchiveSite& site) {
    if (archiveModeFor(site.runtime, false) == ArchiveMode::None)
        return describeRuntime(site.runtime) + L" takes no archive options";
    std::vector<std::string> options = optionsTheVmTakes(java.vmOptions);
    std::wstring obstacle = archiveObstacle(options, site.runtime.openJ9);
    if (!obstacle.empty())
        return L"the options hold " + obstacle;
    DWORD error = factsOf(site.folder).folder ? 0 : ensureParentFolders(site.folder + L"\\archive");
    if (error != 0)
        return L"the folder " + site.folder + L" cannot be made (error " + decimalText(error) + L")";
    std::string folder;
    if (!eightBitPath(site.folder, folder))
        return L"the ANSI code page cannot name the folder " + site.folder;
    // HotSpot takes a ";" for a second archive's path, OpenJ9 a "," for the next of its settings.
    if (folder.find(site.runtime.openJ9 ? ',' : ';') != std::string::npos)
        return L"the option cannot carry the folder's name " + site.folder;
    std::wstring application = archiveApplicationName(fileNameOf(site.executable));
    if (!site.runtime.openJ9)
        return setUpHotSpotArchive(java, options, site, folder, application);
    useOptions(java, archiveOptions(ArchiveMode::ClassCache, folder, ascii(application)));
    traceDecision(L"OpenJ9's shared classes cache " + application + L" in " + site.folder);
    return std::wstring();
}

} // namespace

void setUpClassDataSharing(JavaLaunch& java, const ArchiveSite& site) {
    std::wstring reason = setUp(java, site);
    if (!reason.empty())
        traceDecision(L"none: " + reason);
}
