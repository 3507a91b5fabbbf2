#include "TextFormat.h"

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
