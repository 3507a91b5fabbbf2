#include "VersionInfo.h"

#include <functional>

namespace {

constexpr uint32_t fixedInfoSignature = 0xFEEF04BD;
constexpr uint32_t fixedInfoVersion = 0x00010000;
constexpr uint32_t allFileFlags = 0x3F;
constexpr uint32_t windowsNt32 = 0x00040004;
constexpr uint32_t application = 1, library = 2;
constexpr uint16_t binaryValue = 0, textValue = 1;

void appendText(Bytes& out, const std::u16string& text) {
    for (char16_t unit : text)
        appendUint16(out, unit);
    appendUint16(out, 0);
}

// One block of the resource: its length, the length of its value, its kind, its key, its value and its children,
// each part on a 32-bit boundary. The length covers the block and its children.
void appendBlock(Bytes& out, const std::u16string& key, uint16_t valueLength, uint16_t kind, const Bytes& value,
                 const std::function<void(Bytes&)>& children = nullptr) {
    padTo(out, 4);
    const size_t start = out.size();
    appendUint16(out, 0);
    appendUint16(out, valueLength);
    appendUint16(out, kind);
    appendText(out, key);
    padTo(out, 4);
    out.insert(out.end(), value.begin(), value.end());
    if (children)
        children(out);
    // A longer block is refused once the whole resource is built; see buildVersionResource.
    writeUint16(out.data() + start, static_cast<uint16_t>(out.size() - start));
}

void appendVersion(Bytes& out, const std::u16string& text) {
    VersionNumber number;
    parseVersionNumber(text, number);
    appendUint32(out, uint32_t(number.parts[0]) << 16 | number.parts[1]);
    appendUint32(out, uint32_t(number.parts[2]) << 16 | number.parts[3]);
}

Bytes fixedInfo(const VersionTexts& texts, bool dll) {
    Bytes info;
    appendUint32(info, fixedInfoSignature);
    appendUint32(info, fixedInfoVersion);
    appendVersion(info, texts.fileVersion);
    appendVersion(info, texts.productVersion);
    appendUint32(info, allFileFlags);
    appendUint32(info, 0);
    appendUint32(info, windowsNt32);
    appendUint32(info, dll ? library : application);
    info.resize(info.size() + 12); // subtype and date: none
    return info;
}

void appendStrings(Bytes& out, const VersionTexts& texts) {
    const std::pair<const char16_t*, const std::u16string*> rows[] = {
        {u"CompanyName", &texts.companyName},           {u"FileDescription", &texts.fileDescription},
        {u"FileVersion", &texts.fileVersion},           {u"LegalCopyright", &texts.legalCopyright},
        {u"OriginalFilename", &texts.originalFilename}, {u"ProductName", &texts.productName},
        {u"ProductVersion", &texts.productVersion}};
    for (const auto& row : rows) {
        if (row.second->empty())
            continue;
        Bytes value;
        appendText(value, *row.second);
        appendBlock(out, row.first, static_cast<uint16_t>(row.second->size() + 1), textValue, value);
    }
}

// US English in Unicode, the one translation the texts are given in.
void appendTranslation(Bytes& out) {
    Bytes translation;
    appendUint16(translation, 0x0409);
    appendUint16(translation, 1200);
    appendBlock(out, u"Translation", 4, binaryValue, translation);
}

} // namespace

bool parseVersionNumber(const std::u16string& text, VersionNumber& number) {
    number = VersionNumber();
    size_t part = 0;
    uint32_t value = 0;
    bool digits = false;
    for (char16_t c : text) {
        if (c == u'.' && digits && part < 3) {
            number.parts[part++] = static_cast<uint16_t>(value);
            value = 0;
            digits = false;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        digits = true;
        if (value > 0xFFFF)
            return false;
    }
    number.parts[part] = static_cast<uint16_t>(value);
    return digits;
}

bool buildVersionResource(const VersionTexts& texts, bool dll, Bytes& resource, std::string& error) {
    resource.clear();
    appendBlock(resource, u"VS_VERSION_INFO", 52, binaryValue, fixedInfo(texts, dll), [&](Bytes& out) {
        appendBlock(out, u"StringFileInfo", 0, textValue, {}, [&](Bytes& table) {
            appendBlock(table, u"040904B0", 0, textValue, {}, [&](Bytes& strings) { appendStrings(strings, texts); });
        });
        appendBlock(out, u"VarFileInfo", 0, textValue, {}, appendTranslation);
    });
    // Every block's length is a 16-bit count of bytes, and the outermost block holds all the others.
    if (resource.size() <= 0xFFFF)
        return true;
    error = "the version texts are too long: they would take " + std::to_string(resource.size()) +
            " bytes of version information, which holds at most 65535";
    return false;
}
