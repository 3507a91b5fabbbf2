#pragma once
// The application arguments of the process command line. Portable: no Windows headers.
#include "support/TextSplit.h"

// Trimmed, split with splitArguments, program path dropped.
StringList argumentsFromCommandLine(const std::wstring& commandLine);

bool hasNoSplashSwitch(const StringList& appArguments);
