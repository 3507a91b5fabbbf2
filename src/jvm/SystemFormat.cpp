#include "SystemFormat.h"

#include <cstring>

namespace {

// Flags, width and precision: digits, "*", "." and the flag characters.
size_t skipFieldSpec(const std::string& format, size_t at) {
    while (at < format.size() && std::strchr("-+ #0123456789.*", format[at]) != nullptr && format[at] != '\0')
        ++at;
    return at;
}

// The length modifier at `at` respelt, with its C99 length in `length`.
const char* systemModifier(const std::string& format, size_t at, size_t& length) {
    static const struct {
        const char* c99;
        const char* system;
    } modifiers[] = {{"hh", "h"}, {"ll", "I64"}, {"j", "I64"}, {"z", "I"}, {"t", "I"}};
    for (const auto& modifier : modifiers) {
        length = std::strlen(modifier.c99);
        if (format.compare(at, length, modifier.c99) == 0)
            return modifier.system;
    }
    length = 0;
    return "";
}

} // namespace

std::string systemFormat(const std::string& format) {
    std::string result;
    for (size_t at = 0; at < format.size();) {
        if (format[at] != '%') {
            result += format[at++];
            continue;
        }
        size_t specEnd = skipFieldSpec(format, at + 1);
        result.append(format, at, specEnd - at);
        size_t length = 0;
        result += systemModifier(format, specEnd, length);
        at = specEnd + length;
        if (at < format.size())
            result += format[at++]; // the conversion itself, "%" among them
    }
    return result;
}
