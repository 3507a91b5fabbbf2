#include "RuntimeFixtures.h"

#include "TestFiles.h"
#include "support/FileSystem.h"

std::wstring standInJvmPath() { return testProgramFolder() + L"\\standin\\jvm.dll"; }

std::wstring installJvmLibrary(const std::wstring& home, const std::wstring& type, const std::wstring& source) {
    std::wstring library = home + L"\\bin\\" + type + L"\\jvm.dll";
    if (source.empty())
        writeBytes(library, std::string());
    else
        copyFile(source, library);
    return library;
}

std::wstring companionWidthLibraryPath() { return testProgramFolder() + L"\\fixtures\\companion\\jvm.dll"; }
std::wstring createOnlyLibraryPath() { return testProgramFolder() + L"\\fixtures\\create-only\\jvm.dll"; }
std::wstring companionProbePath() { return testProgramFolder() + L"\\fixtures\\companion_probe.exe"; }

// Made full: the long form that copies take resolves neither ".." nor "/".
std::wstring pairBuildFile(const std::wstring& relative) {
    return fullPathOf(testProgramFolder() + L"\\" KORU_PAIR_BIN L"\\" + relative);
}
