#include "Manifest.h"

#include <cstring>

namespace {

constexpr auto npos = std::string::npos;
constexpr const char* space = " \t\r\n";

// The "<" of the element's start tag (or end tag), its namespace prefix ignored, outside comments.
size_t findTag(const std::string& text, const std::string& name, bool end) {
    for (size_t at = text.find('<'); at != npos; at = text.find('<', at + 1)) {
        if (text.compare(at, 4, "<!--") == 0) {
            at = text.find("-->", at);
            if (at == npos)
                return npos;
            continue;
        }
        const size_t start = at + (end ? 2 : 1);
        if ((text.compare(at, 2, "</") == 0) != end)
            continue;
        const std::string tag = text.substr(start, text.find_first_of(" \t\r\n/>", start) - start);
        const size_t colon = tag.rfind(':');
        if (tag.compare(colon == npos ? 0 : colon + 1, npos, name) == 0)
            return at;
    }
    return npos;
}

// Replaces the value of the tag's level attribute; false when the tag has none.
bool replaceLevel(std::string& text, size_t tag, size_t tagEnd, const std::string& level) {
    for (size_t at = text.find("level", tag); at < tagEnd; at = text.find("level", at + 1)) {
        const size_t equals = text.find_first_not_of(space, at + 5);
        if (!std::strchr(space, text[at - 1]) || equals >= tagEnd || text[equals] != '=')
            continue;
        const size_t quote = text.find_first_not_of(space, equals + 1);
        if (quote >= tagEnd || (text[quote] != '"' && text[quote] != '\''))
            continue;
        const size_t close = text.find(text[quote], quote + 1);
        if (close >= tagEnd)
            continue;
        text.replace(quote + 1, close - quote - 1, level);
        return true;
    }
    return false;
}

std::string trustInfo(const std::string& level) {
    return "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
           "<requestedExecutionLevel level=\"" +
           level + "\" uiAccess=\"false\"/></requestedPrivileges></security></trustInfo>";
}

} // namespace

bool isExecutionLevel(const std::string& level) {
    return level == "asInvoker" || level == "highestAvailable" || level == "requireAdministrator";
}

bool setExecutionLevel(std::string& manifest, const std::string& level, std::string& error) {
    const size_t tag = findTag(manifest, "requestedExecutionLevel", false);
    if (tag != npos) {
        const size_t tagEnd = manifest.find('>', tag);
        if (tagEnd == npos)
            return error = "its manifest ends inside the requestedExecutionLevel element", false;
        if (!replaceLevel(manifest, tag, tagEnd, level))
            manifest.insert(manifest.find_first_of(" \t\r\n/>", tag), " level=\"" + level + "\"");
        return true;
    }
    if (findTag(manifest, "trustInfo", false) != npos)
        return error = "its manifest has a trustInfo element without a requestedExecutionLevel", false;
    const size_t assemblyEnd = findTag(manifest, "assembly", true);
    if (assemblyEnd == npos)
        return error = "its manifest has no assembly element", false;
    manifest.insert(assemblyEnd, trustInfo(level));
    return true;
}

std::string manifestWithLevel(const std::string& level) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">" +
           trustInfo(level) + "</assembly>\r\n";
}
