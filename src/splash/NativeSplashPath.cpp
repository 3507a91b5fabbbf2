#include "NativeSplashPath.h"

#include "support/Paths.h"

std::wstring nativeSplashLibraryCandidate(const std::wstring& jvmPath) {
    // Drops the file name and the folder of the VM type.
    std::wstring bin = parentFolder(jvmPath, 2);
    if (bin.empty())
        return bin;
    if (bin.back() != L'\\' && bin.back() != L'/')
        bin += L'\\';
    return bin + L"splashscreen.dll";
}
