#pragma once
// Options written as on the java command line, made fit for a VM created in-process: "module/class" as -m takes it,
// the options the VM takes only as --name=value, class and module paths given as options, and the options that only
// the java command understands. Portable: no Windows headers.
#include "support/TextSplit.h"

#include <string>

// "Main Module": "module" or "module/class"; an empty class means the one the module's descriptor names.
struct MainModule {
    std::wstring module;
    std::wstring mainClass; // as written
};
MainModule parseMainModule(const std::wstring& setting);

struct SortedVmParameters {
    StringList options;    // for the VM, in the order written, two-word forms joined as --name=value
    StringList classPath;  // the values of -cp, -classpath and --class-path: lists separated by ";"
    StringList modulePath; // the values of -p and --module-path
    std::wstring refused;  // the first option that only the java command understands; empty when there is none
};

// The parameters' tokens, their quotes already removed.
SortedVmParameters sortVmParameters(const StringList& tokens);
