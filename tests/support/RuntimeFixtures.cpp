#include "RuntimeFixtures.h"

#include "TestFiles.h"

std::wstring standInJvmPath() { return testProgramFolder() + L"\\standin\\jvm.dll"; }

std::wstring installJvmLibrary(const std::wstring& home, const std::wstring& type, const std::wstring& source) {
    std::wstring library = home + L"\\bin\\" + type + L"\\jvm.dll";
    if (source.empty())
        writeBytes(library, std::string());
    else
        copyFile(source, library);
    return library;
}

std::wstring x86FixtureLibraryPath() { return testProgramFolder() + L"\\fixtures\\x86\\jvm.dll"; }
std::wstring x64FixtureLibraryPath() { return testProgramFolder() + L"\\fixtures\\x64\\jvm.dll"; }
std::wstring companionProbePath() { return testProgramFolder() + L"\\fixtures\\companion_probe.exe"; }
