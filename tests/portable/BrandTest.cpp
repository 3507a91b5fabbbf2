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
#include <iterator>
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

// Headers in 0x400 bytes, then each section (at most 0x1000 bytes) 0x1000 after the last in memory.
Bytes image(bool pe32Plus, const std::vector<Section>& sections, size_t resources, size_t relocations) {
    const size_t optionalSize = pe32Plus ? 240 : 224, directories = optionalHeader + (pe32Plus ? 112 : 96);
    Bytes out(headerEnd);
    out[0] = 'M', out[1] = 'Z', out[0x3C] = 0x80, out[0x80] = 'P', out[0x81] = 'E';
    writeUint16(&out[0x86], uint16_t(sections.size()));
    writeUint16(&out[0x94], uint16_t(optionalSize));
    writeUint16(&out[optionalHeader], pe32Plus ? 0x20B : 0x10B);
    writeUint32(&out[optionalHeader + 32], 0x1000);
    writeUint32(&out[optionalHeader + 36], 0x200);
    writeUint32(&out[optionalHeader + 56], sectionRva(sections.size()));
    writeUint32(&out[optionalHeader + 60], headerEnd);
    writeUint32(&out[directories - 4], 16);
    for (size_t i = 0; i < sections.size(); ++i) {
        uint8_t* header = &out[optionalHeader + optionalSize + 40 * i];
        const uint32_t size = uint32_t(sections[i].data.size());
        std::copy(sections[i].name, sections[i].name + strlen(sections[i].name), header);
        writeUint32(header + 8, size);
        writeUint32(header + 12, sectionRva(i));
        writeUint32(header + 16, (size + 0x1FF) & ~0x1FFu);
        writeUint32(header + 20, uint32_t(out.size()));
        writeUint32(header + 36, sections[i].flags);
        for (size_t directory : {resources == i ? 2u : 99u, relocations == i ? 5u : 99u}) {
            if (directory < 16)
                writeUint32(&out[directories + 8 * directory], sectionRva(i)),
                    writeUint32(&out[directories + 8 * directory + 4], size);
        }
        out.insert(out.end(), sections[i].data.begin(), sections[i].data.end());
        padTo(out, 0x200);
    }
    return out;
}

Resource resource(uint16_t type, uint16_t name, const std::string& data) {
    return Resource{type, name, 0x409, 0, Bytes(data.begin(), data.end())};
}

Bytes relocationBlock(uint32_t page) {
    Bytes block;
    for (uint32_t value : {page, 12u, 0xA000u})
        appendUint32(block, value);
    return block;
}

const std::string oldManifest = "<assembly><trustInfo><security><requestedPrivileges><requestedExecutionLevel "
                                "level=\"asInvoker\"/></requestedPrivileges></security></trustInfo></assembly>";

const std::vector<Section> withResources(size_t at, uint32_t relocatedPage, const Section& behind) {
    std::vector<Section> sections{{".text", codeFlags, Bytes(0x300, 0xCC)}};
    if (at == 1)
        sections.push_back({".rsrc", dataFlags,
                            layOutResources({resource(groupIconType, 1, std::string("\0\0\1\0\0\0", 6)),
                                             resource(manifestType, 1, oldManifest)},
                                            sectionRva(1))});
    if (!behind.data.empty())
        sections.push_back(behind);
    if (relocatedPage)
        sections.push_back({".reloc", discardableFlags, relocationBlock(relocatedPage)});
    return sections;
}

// The new resources, and an image whose every header field agrees with where its sections now lie.
TEST(Brand, LayoutsStayWholeImages) {
    const Section tls{".tls", dataFlags, Bytes(16, 7)};
    const struct {
        const char* layout;
        bool pe32Plus;
        std::vector<Section> sections;
        bool appended; // otherwise the old resource section is replaced and what follows moves
    } cases[] = {
        {"resources, then relocations", true, withResources(1, 0x1000, {}), false},
        {"no resources", false, withResources(0, 0x1000, {}), true},
        {"resources, then data", true, withResources(1, 0, tls), true},
        {"relocations into the resources", false, withResources(1, sectionRva(1), {}), true},
    };
    Branding branding;
    branding.settings = Bytes{'[', 'A', ']', '\r', '\n'};
    branding.version = Bytes(0x1800, 1); // more than the old section's page: what follows must move
    branding.executionLevel = "highestAvailable";
    branding.icon.push_back(IconImage{{16, 16, 0, 0, 1, 0, 32, 0, 3, 0, 0, 0}, Bytes{1, 2, 3}});
    for (const auto& c : cases) {
        const size_t relocations = c.sections.back().name == std::string(".reloc") ? c.sections.size() - 1 : 99;
        const Bytes input =
            image(c.pe32Plus, c.sections, c.sections[1].name == std::string(".rsrc") ? 1 : 99, relocations);
        PeImage before, after;
        Bytes output;
        std::string error;
        ASSERT_TRUE(readPeImage(input, before, error) && brandImage(input, before, branding, output, error)) << error;
        ASSERT_TRUE(readPeImage(output, after, error)) << c.layout << ": " << error;
        EXPECT_EQ(after.sections.size(), before.sections.size() + c.appended) << c.layout;
        EXPECT_TRUE(std::equal(input.begin() + headerEnd, input.begin() + 0x800, output.begin() + headerEnd))
            << c.layout << ": the code stays where it was";
        for (size_t i = 1; i < after.sections.size(); ++i) {
            const PeSection &previous = after.sections[i - 1], &section = after.sections[i];
            EXPECT_EQ(section.virtualAddress, alignUp(previous.virtualAddress + previous.span(), 0x1000)) << c.layout;
        }
        const PeSection& last = after.sections.back();
        EXPECT_EQ(readUint32(&output[optionalHeader + 56]), alignUp(last.virtualAddress + last.span(), 0x1000));
        EXPECT_EQ(readUint32(&output[optionalHeader + 64]), peChecksum(output, optionalHeader + 64)) << c.layout;
        if (relocations != 99) {
            size_t available = 0;
            const PeDirectory moved = after.directory(output, relocationDirectory);
            const uint8_t* block = after.bytesAt(output, moved.rva, available);
            ASSERT_TRUE(block && available >= 12) << c.layout;
            EXPECT_EQ(Bytes(block, block + 12), c.sections.back().data) << c.layout;
        }
        ResourceList resources;
        ASSERT_TRUE(readResources(output, after, resources, error)) << error;
        std::vector<std::pair<int, std::string>> found;
        for (const Resource& r : resources)
            found.emplace_back(r.type.number * 1000 + r.name.number, std::string(r.data.begin(), r.data.end()));
        ASSERT_EQ(found.size(), 5u) << c.layout;
        EXPECT_EQ(found[0].first, 3001) << "the icon";
        EXPECT_EQ(found[1], std::make_pair(10300, std::string("[A]\r\n")));
        EXPECT_EQ(found[2].first, 14001) << "its group";
        EXPECT_EQ(found[3], std::make_pair(16001, std::string(0x1800, 1)));
        EXPECT_NE(found[4].second.find("level=\"highestAvailable\""), std::string::npos) << found[4].second;
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
    ResourceList resources{{groupIconType, 1, 0x409, 0, groupOf({1, 2})},
                           {groupIconType, 2, 0x409, 0, groupOf({2, 3})},
                           {iconType, 1, 0x409, 0, {}},
                           {iconType, 2, 0x409, 0, {}},
                           {iconType, 3, 0x409, 0, {}},
                           {iconType, 4, 0x407, 0, {}},
                           {groupIconType, ResourceId(u"MAIN"), 0x407, 0, groupOf({4, 2})}};
    replaceIcon(resources, std::vector<IconImage>(2, IconImage{{}, Bytes{9}}));
    std::vector<std::tuple<int, int, std::u16string, int, Bytes>> found;
    for (const Resource& r : resources)
        found.emplace_back(r.type.number, r.name.number, r.name.text, r.language, r.data);
    std::sort(found.begin(), found.end());
    const std::vector<std::tuple<int, int, std::u16string, int, Bytes>> expected{
        {iconType, 1, u"", 0x409, {}},
        {iconType, 2, u"", 0x409, {}},
        {iconType, 3, u"", 0x409, {}},
        {iconType, 4, u"", 0x407, {9}},
        {iconType, 5, u"", 0x407, {9}},
        {groupIconType, 0, u"MAIN", 0x407, groupOf({4, 5})},
        {groupIconType, 1, u"", 0x409, groupOf({1, 2})},
        {groupIconType, 2, u"", 0x409, groupOf({2, 3})}};
    EXPECT_EQ(found, expected);
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

class BrandTool : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("koru-brand-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes read(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::u16string path(const std::string& name) const { return (folder_ / name).u16string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder_;
};

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Every refusal names its cause, and the output stays as it was: no half-written file, no temporary one left.
TEST_F(BrandTool, RefusesBadInputAndChangesNothing) {
    Bytes signedExe = image(true, withResources(1, 0x1000, {}), 1, 2), shortExe = signedExe;
    writeUint32(&signedExe[optionalHeader + 112 + 8 * 4 + 4], 0x100);
    shortExe.resize(0x200);
    write("koru.exe", image(true, withResources(1, 0x1000, {}), 1, 2));
    write("signed.exe", signedExe);
    write("short.exe", shortExe);
    Bytes loopExe = image(true, withResources(1, 0x1000, {}), 1, 2);
    writeUint32(&loopExe[headerEnd + 0x200 * 2 + 16 + 4], 0x80000000); // the first type's directory is the root
    write("loop.exe", loopExe);
    write("app.ico", bytes(std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\x08\0\0\0\x16\0\0\0\x89PNG\r\n\x1a\n", 30)));
    write("photo.png", bytes("\x89PNG\r\n\x1a\n"));
    write("app.ini", bytes("[Java Runtime Environment]\nMain Class=a.B\n"));
    write("bare.ini", bytes("Main Class=a.B\r\n"));
    write("latin1.ini", bytes("[Application]\nName=Caf\xE9\n"));
    fs::create_directory(folder_ / "folder");
    const std::vector<std::string> inputs = names();
    const struct {
        std::vector<std::u16string> arguments; // before the input and output, which are added
        const char* input;
        int exitCode;
        const char* message;
        const char* output = "out.exe";
    } cases[] = {
        {{u"--icon", path("photo.png")}, "koru.exe", 1, "photo.png\": not an icon file"},
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
        {{u"--settings", path("bare.ini")}, "koru.exe", 1, "bare.ini\": no [section] line"},
        {{u"--settings", path("latin1.ini")}, "koru.exe", 1, "neither UTF-8 nor UTF-16"},
        {{u"--execution-level", u"admin"}, "koru.exe", 1, "\"admin\" is not an execution level"},
        {{u"--colour", u"red"}, "koru.exe", 2, "unknown option \"--colour\""},
        {{u"--icon", path("app.ico"), u"--icon", path("app.ico")}, "koru.exe", 2, "--icon is given twice"},
        {{path("koru.exe")}, "koru.exe", 2, "give the launcher exe and the branded exe"},
        {{}, "koru.exe", 1, "cannot write", "folder"},
        {{u"--file-version=1", u"--copyright", std::u16string(32500, u'c'), u"--icon", path("app.ico"), u"--settings",
          path("app.ini")},
         "koru.exe",
         0,
         ""},
    };
    for (const auto& c : cases) {
        write("out.exe", bytes("old"));
        std::vector<std::u16string> arguments = c.arguments;
        arguments.push_back(path(c.input));
        arguments.push_back(path(c.output));
        BrandToolResult result = runBrandTool(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message << " / " << result.message;
        EXPECT_NE(result.message.find(c.message), std::string::npos) << c.message << " / " << result.message;
        EXPECT_EQ(read("out.exe") == bytes("old"), c.exitCode != 0) << c.message;
        std::vector<std::string> expected = inputs;
        expected.insert(std::upper_bound(expected.begin(), expected.end(), "out.exe"), "out.exe");
        EXPECT_EQ(names(), expected) << c.message;
    }
}

} // namespace
