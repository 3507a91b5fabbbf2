// The branding tool on images laid out as linkers lay them out, and on inputs it must refuse.
#include "brand/BrandTool.h"
#include "brand/Branding.h"
#include "brand/Manifest.h"
#include "brand/ResourceTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t codeFlags = 0x60000020, dataFlags = 0xC0000040, discardableFlags = 0x42000040;
constexpr size_t headerEnd = 0x400, optionalHeader = 0x98;

struct Section {
    const char* name;
    uint32_t flags;
    Bytes data;
};

uint32_t sectionRva(size_t index) { return 0x1000 * uint32_t(index + 1); }

// Headers in 0x400 bytes, then each section (at most 0x1000 bytes) 0x1000 after the last in memory; ".rsrc" and
// ".reloc" are the resource and relocation directories.
Bytes image(bool pe32Plus, const std::vector<Section>& sections) {
    const size_t optionalSize = pe32Plus ? 240 : 224, directories = optionalHeader + (pe32Plus ? 112 : 96);
    Bytes out(headerEnd);
    out[0] = 'M', out[1] = 'Z', out[0x3C] = 0x80, out[0x80] = 'P', out[0x81] = 'E',
    out[0x86] = uint8_t(sections.size());
    writeUint16(&out[0x94], uint16_t(optionalSize));
    writeUint16(&out[optionalHeader], pe32Plus ? 0x20B : 0x10B);
    for (auto field : {std::make_pair(32, 0x1000u), {36, 0x200u}, {56, sectionRva(sections.size())}, {60, 0x400u}})
        writeUint32(&out[optionalHeader + field.first], field.second);
    writeUint32(&out[directories - 4], 16);
    for (size_t i = 0; i < sections.size(); ++i) {
        uint8_t* header = &out[optionalHeader + optionalSize + 40 * i];
        const uint32_t size = uint32_t(sections[i].data.size());
        std::copy(sections[i].name, sections[i].name + strlen(sections[i].name), header);
        const uint32_t fields[] = {size, sectionRva(i), (size + 0x1FF) & ~0x1FFu, uint32_t(out.size())};
        for (size_t field = 0; field < 4; ++field) // sizes and places, from offset 8
            writeUint32(header + 8 + 4 * field, fields[field]);
        writeUint32(header + 36, sections[i].flags);
        const size_t directory = sections[i].name == std::string(".rsrc") ? 2 : 5;
        if (directory == 2 || sections[i].name == std::string(".reloc"))
            writeUint32(&out[directories + 8 * directory], sectionRva(i)),
                writeUint32(&out[directories + 8 * directory + 4], size);
        out.insert(out.end(), sections[i].data.begin(), sections[i].data.end());
        padTo(out, 0x200);
    }
    return out;
}

// Code, then resources (at 1) or none, then the section given, then relocations in the page given (or none).
std::vector<Section> sections(bool resources, const Section& behind, uint32_t relocatedPage) {
    std::vector<Section> sections{{".text", codeFlags, Bytes(0x300, 0xCC)}};
    const std::string old = "<assembly><requestedExecutionLevel level=\"asInvoker\"/></assembly>";
    const Resource manifest{manifestType, 1, 0x409, 0, Bytes(old.begin(), old.end())};
    if (resources)
        sections.push_back({".rsrc", dataFlags, layOutResources({manifest}, sectionRva(1))});
    if (!behind.data.empty())
        sections.push_back(behind);
    Bytes relocations;
    for (uint32_t value : {relocatedPage, 12u, 0xA000u})
        appendUint32(relocations, value);
    if (relocatedPage)
        sections.push_back({".reloc", discardableFlags, relocations});
    return sections;
}

// The new resources, and an image whose every header field agrees with where its sections now lie.
TEST(Brand, LayoutsStayWholeImages) {
    const struct {
        const char* layout;
        bool pe32Plus;
        std::vector<Section> sections;
        bool appended; // otherwise the old resource section is replaced and what follows moves
    } cases[] = {
        {"resources, then relocations", true, sections(true, {}, 0x1000), false},
        {"no resources", false, sections(false, {}, 0x1000), true},
        {"resources, then data", true, sections(true, {".tls", dataFlags, Bytes(16, 7)}, 0), true},
        {"relocations into the resources", false, sections(true, {}, sectionRva(1)), true},
    };
    Branding branding;
    branding.settings = Bytes{'[', 'A', ']', '\r', '\n'};
    branding.version = Bytes(0x1800, 1); // more than the old section's page: what follows must move
    branding.executionLevel = "highestAvailable";
    branding.icon.push_back(IconImage{{16, 16, 0, 0, 1, 0, 32, 0, 3, 0, 0, 0}, Bytes{1, 2, 3}});
    for (const auto& c : cases) {
        const Bytes input = image(c.pe32Plus, c.sections);
        PeImage before, after;
        Bytes output;
        std::string error;
        ASSERT_TRUE(readPeImage(input, before, error) && brandImage(input, before, branding, output, error)) << error;
        ASSERT_TRUE(readPeImage(output, after, error)) << c.layout << ": " << error;
        EXPECT_EQ(after.sections.size(), before.sections.size() + c.appended) << c.layout;
        EXPECT_TRUE(std::equal(input.begin() + headerEnd, input.begin() + 0x800, output.begin() + headerEnd))
            << c.layout << ": the code stays where it was";
        uint32_t next = sectionRva(0); // sections follow each other, and the image ends with the last
        for (const PeSection& section : after.sections) {
            EXPECT_EQ(section.virtualAddress, next) << c.layout;
            next = uint32_t(alignUp(section.virtualAddress + section.span(), 0x1000));
        }
        EXPECT_EQ(readUint32(&output[optionalHeader + 56]), next) << c.layout;
        EXPECT_EQ(readUint32(&output[optionalHeader + 64]), peChecksum(output, optionalHeader + 64)) << c.layout;
        size_t available = 0;
        const uint8_t* relocations = after.bytesAt(output, after.directory(output, relocationDirectory).rva, available);
        if (c.sections.back().name == std::string(".reloc"))
            EXPECT_TRUE(available >= 12 && Bytes(relocations, relocations + 12) == c.sections.back().data) << c.layout;
        ResourceList resources;
        std::map<int, std::string> found;
        ASSERT_TRUE(readResources(output, after, resources, error)) << error;
        for (const Resource& r : resources)
            found[r.type.number * 1000 + r.name.number] = std::string(r.data.begin(), r.data.end());
        EXPECT_EQ(found.size(), 5u) << c.layout << ": an icon, its group, version, settings, manifest";
        EXPECT_EQ(found[10300] + found[3001], "[A]\r\n\1\2\3") << c.layout;
    }
}

Bytes groupOf(std::initializer_list<uint16_t> icons) {
    Bytes group{0, 0, 1, 0, uint8_t(icons.size()), 0};
    for (uint16_t icon : icons) {
        group.resize(group.size() + 12);
        appendUint16(group, icon);
    }
    return group;
}

// The shell shows the first group in directory order, where names come before numbers.
TEST(Brand, IconReplacesTheShownGroupAndOnlyItsOwnIcons) {
    using Row = std::tuple<int, int, std::u16string, int, Bytes>; // type, number, name, language, data
    ResourceList resources{{groupIconType, 1, 0x409, 0, groupOf({1, 2})},
                           {groupIconType, 2, 0x409, 0, groupOf({2, 3})},
                           {groupIconType, ResourceId(u"MAIN"), 0x407, 0, groupOf({2, 4})}};
    for (uint16_t icon : {1, 2, 3, 4})
        resources.push_back({iconType, icon, uint16_t(icon == 4 ? 0x407 : 0x409), 0, {}});
    replaceIcon(resources, std::vector<IconImage>(2, IconImage{{}, Bytes{9}}));
    std::vector<Row> found;
    for (const Resource& r : resources)
        found.emplace_back(r.type.number, r.name.number, r.name.text, r.language, r.data);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<Row>{{iconType, 1, u"", 0x409, {}},
                                       {iconType, 2, u"", 0x409, {}},
                                       {iconType, 3, u"", 0x409, {}},
                                       {iconType, 4, u"", 0x407, {9}},
                                       {iconType, 5, u"", 0x407, {9}},
                                       {groupIconType, 0, u"MAIN", 0x407, groupOf({4, 5})},
                                       {groupIconType, 1, u"", 0x409, groupOf({1, 2})},
                                       {groupIconType, 2, u"", 0x409, groupOf({2, 3})}}));
}

TEST(Brand, ManifestLevel) {
    const std::string trust = "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
                              "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"
                              "</requestedPrivileges></security></trustInfo>";
    const struct {
        std::string manifest;
        std::string expected; // empty: refused
    } cases[] = {
        {"<assembly><requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/></assembly>",
         "<assembly><requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/></assembly>"},
        {"<!-- <requestedExecutionLevel level='asInvoker'/> --><a:assembly><a:requestedExecutionLevel\n"
         "uiAccess='false' level = 'highestAvailable'></a:requestedExecutionLevel></a:assembly>",
         "<!-- <requestedExecutionLevel level='asInvoker'/> --><a:assembly><a:requestedExecutionLevel\n"
         "uiAccess='false' level = 'requireAdministrator'></a:requestedExecutionLevel></a:assembly>"},
        {"<assembly><requestedExecutionLevel uiAccess=\"false\"/></assembly>",
         "<assembly><requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/></assembly>"},
        {"<assembly><file name=\"a.dll\"/>\r\n</assembly>\r\n",
         "<assembly><file name=\"a.dll\"/>\r\n" + trust + "</assembly>\r\n"},
        {"<assembly><trustInfo><security/></trustInfo></assembly>", ""},
        {"<assemblyIdentity/>", ""},
        {"<assembly><requestedExecutionLevel level=\"asInvoker\"", ""},
    };
    for (const auto& c : cases) {
        std::string manifest = c.manifest, error;
        const bool set = setExecutionLevel(manifest, "requireAdministrator", error);
        EXPECT_EQ(set ? manifest : "", c.expected) << c.manifest;
        EXPECT_EQ(set, error.empty()) << c.manifest;
    }
}

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A folder of its own for the files of one test, removed with them.
struct Folder {
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    void write(const std::string& name, const Bytes& data) const {
        std::ofstream(path / fs::u8path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), data.size());
    }
    std::u16string operator/(const std::string& name) const { return (path / fs::u8path(name)).u16string(); }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(path))
            found.insert(entry.path().filename().string());
        return found;
    }

    const fs::path path = fs::temp_directory_path() /
                          ("koru-brand-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
};

// Every refusal names its cause, and the output stays as it was: no half-written file, no temporary one left.
TEST(BrandTool, RefusesBadInputAndChangesNothing) {
    const Folder folder;
    const Bytes exe = image(true, sections(true, {}, 0x1000));
    Bytes signedExe = exe, shortExe(exe.begin(), exe.begin() + 0x200), loopExe = exe;
    writeUint32(&signedExe[optionalHeader + 112 + 8 * 4 + 4], 0x100);
    writeUint32(&loopExe[headerEnd + 0x200 * 2 + 16 + 4], 0x80000000); // the first type's directory is the root
    for (const auto& file :
         {std::make_pair("koru.exe", exe), {"signed.exe", signedExe}, {"short.exe", shortExe}, {"loop.exe", loopExe}})
        folder.write(file.first, file.second);
    folder.write("app.ico",
                 bytes(std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\x08\0\0\0\x16\0\0\0\x89PNG\r\n\x1a\n", 30)));
    folder.write("photo\xF0\x90\x80\x80.png", bytes("\x89PNG\r\n\x1a\n"));
    folder.write("app.ini", bytes("[Java Runtime Environment]\nMain Class=a.B\n"));
    folder.write("bare.ini", bytes("Main Class=a.B\r\n"));
    folder.write("latin1.ini", bytes("[Application]\nHeat=20\xB0 Caf\xE9\n"));
    fs::create_directory(folder.path / "folder");
    std::set<std::string> files = folder.names();
    files.insert("out.exe");
    const struct {
        std::vector<std::u16string> arguments; // before the input and output, which are added
        const char* input;
        int exitCode;
        const char* message;
        const char* output = "out.exe";
    } cases[] = {
        {{u"--icon", folder / "photo\xF0\x90\x80\x80.png"},
         "koru.exe",
         1,
         "photo\xF0\x90\x80\x80.png\": not an icon file"},
        {{}, "short.exe", 1, "short.exe\": not a Windows executable"},
        {{}, "signed.exe", 1, "signed.exe\": it is signed"},
        {{}, "missing.exe", 1, "cannot read"},
        {{}, "loop.exe", 1, "loop.exe\": its resource directory is damaged"},
        {{u"--file-version", u"1.x"}, "koru.exe", 1, "\"1.x\" is not a version"},
        {{u"--product-version=1.2.3.65536"}, "koru.exe", 1, "\"1.2.3.65536\" is not a version"},
        {{u"--file-version", u"1.2.3.4.5"}, "koru.exe", 1, "is not a version"},
        {{u"--file-version", u"1..2"}, "koru.exe", 1, "is not a version"},
        {{u"--company", u"Example"}, "koru.exe", 1, "needs --file-version or --product-version"},
        {{u"--file-version=1", u"--copyright", std::u16string(32700, u'c')}, "koru.exe", 1, "are too long"},
        {{u"--settings", folder / "bare.ini"}, "koru.exe", 1, "bare.ini\": no [section] line"},
        {{u"--settings", folder / "latin1.ini"}, "koru.exe", 1, "neither UTF-8 nor UTF-16"},
        {{u"--execution-level", u"admin"}, "koru.exe", 1, "\"admin\" is not an execution level"},
        {{u"--colour", u"red"}, "koru.exe", 2, "unknown option \"--colour\""},
        {{u"--icon", folder / "app.ico", u"--icon", folder / "app.ico"}, "koru.exe", 2, "--icon is given twice"},
        {{folder / "koru.exe"}, "koru.exe", 2, "give the launcher exe and the branded exe"},
        {{}, "koru.exe", 1, "cannot write", "folder"},
        {{u"--file-version=1", u"--copyright", std::u16string(32500, u'c'), u"--icon", folder / "app.ico",
          u"--settings", folder / "app.ini"},
         "koru.exe",
         0,
         ""},
    };
    for (const auto& c : cases) {
        folder.write("out.exe", bytes("old"));
        std::vector<std::u16string> arguments = c.arguments;
        arguments.insert(arguments.end(), {folder / c.input, folder / c.output});
        BrandToolResult result = runBrandTool(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message << " / " << result.message;
        EXPECT_NE(result.message.find(c.message), std::string::npos) << c.message << " / " << result.message;
        EXPECT_EQ(fs::file_size(folder.path / "out.exe") == 3, c.exitCode != 0) << c.message << ": the old output";
        EXPECT_EQ(folder.names(), files) << c.message;
    }
}

} // namespace
