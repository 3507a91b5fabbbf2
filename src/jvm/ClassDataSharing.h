#pragma once
// "Class Data Sharing": the options that make the runtime map an archive of the application's classes, or write one
// at its end, and what becomes of that archive when the VM ends. Never a worse start: whatever stands in the way
// leaves the options as they were, and the trace tells why.
#include "ClassDataArchive.h"
#include "JavaLaunch.h"

#include <string>

struct ArchiveSite {
    std::wstring folder;     // where the application's archives live; made when missing
    std::wstring executable; // the launcher: its name names the archives, its folder ends the class path
    std::wstring jvmPath;
    ArchiveRuntime runtime;
};

// Main thread, once the options are assembled: puts the archive options before the others, and has the archive a VM
// writes published under its name once the VM has finished writing it (or marked as failed when the VM gives up).
void setUpClassDataSharing(JavaLaunch& java, const ArchiveSite& site);
