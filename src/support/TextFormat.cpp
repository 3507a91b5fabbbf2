#include "TextFormat.h"

std::wstring decimalText(int64_t number, size_t digits) {
    // The magnitude as unsigned, so that the most negative number has one too.
    uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0 || text.size() < digits);
    if (number < 0)
        text.insert(text.begin(), L'-');
    return text;
}

std::wstring errorLine(const std::wstring& program, const std::wstring& text) {
    std::wstring line = program + L": ";
    bool pendingSpace = false;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && line.back() != L' ')
            line += L' ';
        pendingSpace = false;
        line += c;
    }
    return line + L"\r\n";
}

std::wstring formatText(const std::wstring& format, const std::vector<FormatArgument>& arguments) {
    std::wstring text;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c != L'%' || i + 1 == format.size()) {
            text += c;
            continue;
        }
        wchar_t kind = format[++i];
        if (kind == L's' || kind == L'd') {
            if (next < arguments.size())
                text += arguments[next].text;
            ++next;
        } else if (kind == L'%') {
            text += L'%';
        } else {
            text += L'%';
            text += kind;
        }
    }
    return text;
}
