#include "TextSplit.h"

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

std::wstring trimmed(const std::wstring& text, bool (*isBlank)(wchar_t)) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}
