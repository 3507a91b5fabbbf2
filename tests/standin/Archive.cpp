// Class-data archives as the runtime named by the "release" file of the runtime's home takes them (see StandIn.h).
#include "StandIn.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

namespace standin {
namespace {

std::wstring archive; // -XX:SharedArchiveFile or -XX:ArchiveClassesAtExit
bool mapAtStart = false, autoCreate = false, writeAtEnd = false;

std::string readFile(const std::wstring& path) {
    std::ifstream file{std::filesystem::path(path)};
    return std::string(std::istreambuf_iterator<char>(file), {});
}

[[noreturn]] void failWriting(const std::string& reason) {
    vmPrint("An error has occurred while processing the shared archive file.\n%s\n", reason.c_str());
    abortCreation("Unable to use shared archive.");
}

} // namespace

jint takeArchiveOption(const std::string& option) {
    // JAVA_VERSION="17.0.2" or "1.8.0_392"; no release file knows no archive option.
    std::string release = readFile(environment(L"KORU_JVM_HOME") + L"\\release");
    size_t at = release.find("JAVA_VERSION=\"");
    int major = at == std::string::npos ? 0 : std::atoi(release.c_str() + at + 14);
    int feature = major == 1 ? std::atoi(release.c_str() + release.find('.', at) + 1) : major;
    bool openJ9 = release.find("OpenJ9") != std::string::npos;
    auto since = [&](int first) { return !openJ9 && feature >= first ? JNI_OK : JNI_ERR; };
    auto starts = [&option](const char* prefix) { return option.compare(0, strlen(prefix), prefix) == 0; };
    bool map = starts("-XX:SharedArchiveFile="), dump = starts("-XX:ArchiveClassesAtExit=");
    if (map || dump) {
        archive = fromUtf8(option.substr(option.find('=') + 1), CP_ACP);
        (map ? mapAtStart : writeAtEnd) = true;
    }
    autoCreate = autoCreate || option == "-XX:+AutoCreateSharedArchive";
    if (starts("-Xshareclasses:"))
        return openJ9 ? JNI_OK : JNI_ERR;
    return starts("-Xlog:")                           ? since(9)
           : map || dump                              ? since(13)
           : option == "-XX:+AutoCreateSharedArchive" ? since(19)
                                                      : 1;
}

void openArchive() {
    std::wstring library = environment(L"KORU_JVM_PATH");
    if (writeAtEnd && GetFileAttributesW((library.substr(0, library.rfind(L'\\')) + L"\\classes.jsa").c_str()) ==
                          INVALID_FILE_ATTRIBUTES)
        abortCreation("DynamicDumpSharedSpaces is unsupported when base CDS archive is not loaded");
    bool exists = mapAtStart && GetFileAttributesW(archive.c_str()) != INVALID_FILE_ATTRIBUTES;
    bool accepted = exists && directive(L"archive") != L"refuse";
    if (exists)
        record(accepted ? "archive.mapped" : "archive.refused", utf8(archive));
    writeAtEnd = writeAtEnd || (mapAtStart && autoCreate && !accepted);
}

// Deleted and made anew, read-only. A read-only file or a missing folder stops the VM, and so does a class it archived
// from a folder.
void writeArchive() {
    if (!writeAtEnd)
        return;
    if (vm.classFromFolder)
        failWriting("Cannot have non-empty directory in paths");
    DeleteFileW(archive.c_str());
    HANDLE file =
        CreateFileW(archive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        failWriting("Unable to create shared archive file " + utf8(archive) + ".");
    DWORD done = 0;
    WriteFile(file, "archive", 7, &done, nullptr);
    CloseHandle(file);
    SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_READONLY);
    record("archive.written", utf8(archive));
}

} // namespace standin
