#include "CommandLine.h"

namespace {

bool isCommandLineSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::wstring trimmed(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isCommandLineSpace(text[begin]))
        ++begin;
    while (end > begin && isCommandLineSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

StringList splitArguments(const std::wstring& text) {
    StringList arguments;
    size_t p = 0;
    while (p < text.size()) {
        size_t end;
        if (text[p] == L'"') {
            end = text.find(L'"', p + 1);
            if (end == std::wstring::npos) {
                arguments.push_back(text.substr(p + 1));
                break;
            }
            arguments.push_back(text.substr(p + 1, end - p - 1));
            ++end; // a character right after the closing quote starts the next argument
        } else {
            end = text.find(L' ', p);
            if (end == std::wstring::npos) {
                arguments.push_back(text.substr(p));
                break;
            }
            arguments.push_back(text.substr(p, end - p));
        }
        p = text.find_first_not_of(L' ', end);
        if (p == std::wstring::npos)
            break;
    }
    return arguments;
}

StringList splitList(const std::wstring& text, const std::wstring& separator) {
    StringList pieces;
    if (separator.empty()) {
        if (!text.empty())
            pieces.push_back(text);
        return pieces;
    }
    size_t position = 0;
    while (position < text.size()) {
        size_t found = text.find(separator, position);
        if (found == std::wstring::npos) {
            pieces.push_back(text.substr(position));
            break;
        }
        pieces.push_back(text.substr(position, found - position));
        position = found + separator.size();
    }
    return pieces;
}

StringList argumentsFromCommandLine(const std::wstring& commandLine) {
    StringList arguments = splitArguments(trimmed(commandLine));
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
