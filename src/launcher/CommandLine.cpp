#include "CommandLine.h"

namespace {

bool isCommandLineSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

} // namespace

StringList argumentsFromCommandLine(const std::wstring& commandLine) {
    StringList arguments = splitArguments(trimmed(commandLine, isCommandLineSpace));
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

bool hasNoSplashSwitch(const StringList& appArguments) {
    for (const std::wstring& argument : appArguments) {
        if (argument == L"-nosplash" || argument == L"/nosplash")
            return true;
    }
    return false;
}
