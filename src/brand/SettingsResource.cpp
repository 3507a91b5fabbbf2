#include "SettingsResource.h"

#include "Utf16.h"
#include "support/BuiltInSettings.h"

namespace {

bool holdsSection(const std::u16string& text) {
    return !parseBuiltInSettings(std::wstring(text.begin(), text.end())).sections.empty();
}

Bytes withCrLf(const Bytes& text) {
    Bytes out;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool lineEnd = text[at] == '\r' || text[at] == '\n';
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        if (lineEnd)
            out.insert(out.end(), {'\r', '\n'});
        else
            out.push_back(text[at]);
    }
    return out;
}

} // namespace

bool settingsResource(const Bytes& text, Bytes& resource, std::string& error) {
    std::u16string units;
    const bool utf16 = text.size() >= 2 && text[0] == 0xFF && text[1] == 0xFE;
    if (utf16) {
        for (size_t at = 2; at + 1 < text.size(); at += 2)
            units += static_cast<char16_t>(readUint16(text.data() + at));
        resource = text;
    } else {
        resource = withCrLf(text);
        if (!utf8ToUtf16(std::string(resource.begin(), resource.end()), units))
            return error = "it is neither UTF-8 nor UTF-16 with a byte-order mark", false;
    }
    if (holdsSection(units))
        return true;
    error = utf16 ? "no [section] line ending in CR LF; the launcher would find no settings in it"
                  : "no [section] line; the launcher would find no settings in it";
    return false;
}
