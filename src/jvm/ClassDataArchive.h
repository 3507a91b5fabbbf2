#pragma once
// A class-data archive of the application's own: the runtime maps the classes an earlier start loaded and verified
// instead of loading them again. Which options a runtime is given, what rules an archive out, the archive's name
// (which changes with everything that makes a runtime refuse an archive) and which old files go.
// Portable: no Windows headers.
#include <cstdint>
#include <string>
#include <vector>

// The runtime that will be loaded: its feature version (17 for 17.0.2, 8 for 1.8.0_392; 0 when unknown) and whether
// it is built on the OpenJ9 VM.
struct ArchiveRuntime {
    int feature = 0;
    bool openJ9 = false;
};

enum class ArchiveMode {
    None,       // older or unknown runtimes: an option they do not know would fail the VM's creation
    Map,        // 13 to 18, the archive exists: -XX:SharedArchiveFile
    DumpAtExit, // 13 to 18, no archive yet: -XX:ArchiveClassesAtExit to a name of this start's own
    AutoCreate, // 19 and later: the runtime checks the archive and writes it anew when it is missing or stale
    ClassCache, // OpenJ9: its own shared classes cache, in a folder of the application's
};

ArchiveMode archiveModeFor(const ArchiveRuntime& runtime, bool archiveExists);

// Whether the runtime writes an archive at its end, which it cannot do without its default archive, and which ends
// the process with 1 when it fails.
inline bool dumpsArchive(ArchiveMode mode) {
    return mode == ArchiveMode::DumpAtExit || mode == ArchiveMode::AutoCreate;
}

// Why the VM options rule out an archive of ours, as a line of the trace; empty when nothing does. HotSpot refuses to
// start or to write an archive with agents and with some module options, archives nothing of an application with a
// class loader of its own, and the parameters may choose class data sharing themselves.
std::wstring archiveObstacle(const std::vector<std::string>& options, bool openJ9);

// Whether the options may make HotSpot run without compressed object pointers, and so need its default archive made
// without them (classes_nocoops.jsa). Without explicit options the heap stays small enough for them.
bool mayRunWithoutCompressedOops(const std::vector<std::string>& options);

// Whether the option decides which archive the runtime accepts: the heap's size and the pointers it allows, the
// collector, object alignment, modules. Such options enter the archive's name.
bool shapesArchive(const std::string& option);

// The entries of the class path the VM is given (the last -Djava.class.path=), and of the module paths.
std::vector<std::string> classPathEntries(const std::vector<std::string>& options);
std::vector<std::string> modulePathEntries(const std::vector<std::string>& options);

// A file as it stands: a runtime refuses an archive when a jar on its class path changed size or time.
struct FileFacts {
    bool exists = false;
    bool folder = false;
    uint64_t size = 0;
    uint64_t time = 0; // last write, in the file system's units
};

// A 64-bit FNV-1a hash over everything the archive depends on, the same for the same inputs on every platform.
class ArchiveFingerprint {
public:
    void add(const std::wstring& text);
    // A folder counts by its path alone: its time changes whenever a file in it is written (a log, say).
    void add(const std::wstring& path, const FileFacts& facts);
    uint64_t value() const { return hash_; }

private:
    void addBytes(uint64_t value, int count);
    uint64_t hash_ = 14695981039346656037ull;
};

// The executable's name without its extension, as far as it is made of ASCII letters, digits, "-", "_" and ".": it
// names the archive files and the OpenJ9 cache, both of which reach the VM in the ANSI code page. "app" when nothing
// is left.
std::wstring archiveApplicationName(const std::wstring& executableName);

// <application>-<16 hex digits>.jsa, the archive a start maps; the file that a start writes before it is published
// under that name, with the process id; the mark that a start with this archive failed.
std::wstring archiveFileName(const std::wstring& application, uint64_t fingerprint);
std::wstring writtenArchiveName(const std::wstring& archiveName, unsigned long processId);
std::wstring failureMarkName(const std::wstring& archiveName);

// A file of the archive folder with its last write time (in 100 ns units).
struct FolderEntry {
    std::wstring name;
    uint64_t time = 0;
};

// The files of this application that go when a new archive is about to be made: every archive and failure mark of
// other names but the newest other archive (so that at most two remain), and written files older than an hour, which
// no running VM is writing any more. Files of other applications are left alone.
std::vector<std::wstring> filesToPrune(const std::vector<FolderEntry>& entries, const std::wstring& application,
                                       const std::wstring& archiveName, uint64_t now);

// The options for the mode: `file` is the archive (Map, AutoCreate), the file written (DumpAtExit) or the cache folder
// (ClassCache), in the ANSI code page. HotSpot's own reports on archives (a stale one refused, classes it skips) are
// switched off, and first, so that a -Xlog of the parameters still decides.
std::vector<std::string> archiveOptions(ArchiveMode mode, const std::string& file, const std::string& application);
