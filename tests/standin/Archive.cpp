// Class-data archives as the runtime named by the "release" file of the runtime's home takes them (see StandIn.h).
#include "StandIn.h"

#include <windows.h>

namespace standin {
namespace {

std::wstring archive;    // -XX:SharedArchiveFile or -XX:ArchiveClassesAtExit
bool mapAtStart = false; // -XX:SharedArchiveFile
bool autoCreate = false;
bool writeAtEnd = false;
bool quiet = false; // the last -Xlog about cds switched it off

std::string readFile(const std::wstring& path) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The feature version of JAVA_VERSION="17.0.2" or "1.8.0_392" (0 without a release file), and whether it is OpenJ9.
std::pair<int, bool> runtime() {
    std::string text = readFile(environment(L"KORU_JVM_HOME") + L"\\release");
    size_t at = text.find("JAVA_VERSION=\"");
    int major = at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 14);
    return {major == 1 ? std::atoi(text.c_str() + text.find('.', at) + 1) : major,
            text.find("OpenJ9") != std::string::npos};
}

// What an archive is checked against: each class path entry with its size and time.
std::string classPathFacts() {
    std::string facts;
    for (const std::wstring& entry : split(vm.classPath, L';')) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW(entry.c_str(), GetFileExInfoStandard, &data);
        facts += utf8(entry) + "|" + std::to_string(data.nFileSizeLow) + "|" +
                 std::to_string(data.ftLastWriteTime.dwLowDateTime) + "\n";
    }
    return facts;
}

void report(const std::string& line) {
    if (!quiet)
        vmPrint("%s\n", line.c_str());
}

[[noreturn]] void failWriting(const std::string& reason) {
    vmPrint("An error has occurred while processing the shared archive file.\n%s\n", reason.c_str());
    abortCreation("Unable to use shared archive.");
}

} // namespace

jint takeArchiveOption(const std::string& option) {
    auto [feature, openJ9] = runtime();
    auto starts = [&option](const char* prefix) { return option.compare(0, strlen(prefix), prefix) == 0; };
    auto since = [feature = feature, openJ9 = openJ9](int first) { return !openJ9 && feature >= first ? 0 : -1; };
    if (starts("-Xshareclasses:"))
        return openJ9 ? JNI_OK : JNI_ERR;
    if (starts("-Xlog:") && option.find("cds") != std::string::npos)
        quiet = option.compare(option.size() - 4, 4, "=off") == 0;
    if (starts("-Xlog:"))
        return since(9);
    bool map = starts("-XX:SharedArchiveFile="), dump = starts("-XX:ArchiveClassesAtExit=");
    if (map || dump) {
        archive = fromUtf8(option.substr(option.find('=') + 1), CP_ACP);
        (map ? mapAtStart : writeAtEnd) = true;
        return since(13);
    }
    if (option == "-XX:+AutoCreateSharedArchive")
        return autoCreate = true, since(19);
    return 1;
}

void openArchive() {
    std::wstring library = environment(L"KORU_JVM_PATH");
    std::wstring defaultArchive = library.substr(0, library.rfind(L'\\')) + L"\\classes.jsa";
    if (writeAtEnd && GetFileAttributesW(defaultArchive.c_str()) == INVALID_FILE_ATTRIBUTES)
        abortCreation("DynamicDumpSharedSpaces is unsupported when base CDS archive is not loaded");
    std::string written = mapAtStart ? readFile(archive) : "";
    if (written.empty()) {
        writeAtEnd = writeAtEnd || (mapAtStart && autoCreate);
        return;
    }
    bool accepted = written == classPathFacts() && directive(L"archive") != L"refuse";
    record(accepted ? "archive.mapped" : "archive.refused", utf8(archive));
    if (!accepted)
        report("[warning][cds,dynamic] Unable to use shared archive. The top archive failed to load: " + utf8(archive));
    writeAtEnd = !accepted && autoCreate;
}

// Deleted and made anew, read-only. A read-only or missing folder stops the VM, and so does a class it archived from
// a folder.
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
    std::string facts = classPathFacts();
    DWORD done = 0;
    WriteFile(file, facts.data(), DWORD(facts.size()), &done, nullptr);
    CloseHandle(file);
    SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_READONLY);
    record("archive.written", utf8(archive));
    report("[warning][cds] Skipping com/example/Proxy: Unsupported location");
}

} // namespace standin
