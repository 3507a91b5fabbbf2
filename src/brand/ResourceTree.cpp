#include "ResourceTree.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {

constexpr uint32_t highBit = 0x80000000;
constexpr size_t directoryHeaderSize = 16;
constexpr size_t entrySize = 8;
constexpr size_t dataEntrySize = 16;

// Walks the three levels (type, name, language) of a resource directory held in `base`.
class DirectoryReader {
public:
    DirectoryReader(const Bytes& file, const PeImage& image, const uint8_t* base, size_t available, ResourceList& out)
        : file_(file), image_(image), base_(base), available_(available), out_(out) {}

    bool readDirectory(uint32_t offset, int level, Resource& path) {
        if (!fits(offset, directoryHeaderSize))
            return false;
        const uint8_t* header = base_ + offset;
        const size_t count = size_t(readUint16(header + 12)) + readUint16(header + 14);
        if (!fits(offset + directoryHeaderSize, entrySize * count))
            return false;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* entry = header + directoryHeaderSize + entrySize * i;
            if (!readEntry(readUint32(entry), readUint32(entry + 4), level, path))
                return false;
        }
        return true;
    }

private:
    bool fits(uint64_t offset, uint64_t size) const { return offset <= available_ && size <= available_ - offset; }

    // Each entry the file holds takes bytes of its own, so more entries than that, or more data than the file
    // holds, means directories that share entries in a loop.
    bool readEntry(uint32_t nameField, uint32_t target, int level, Resource& path) {
        ResourceId id;
        if (++entries_ * entrySize > file_.size() || !readId(nameField, id))
            return false;
        const bool directory = (target & highBit) != 0;
        if (directory != (level < 2))
            return false;
        if (level == 0)
            path.type = id;
        if (level == 1)
            path.name = id;
        if (directory)
            return readDirectory(target & ~highBit, level + 1, path);
        if (id.named())
            return false; // a language is a number
        path.language = id.number;
        return readData(target, path);
    }

    bool readId(uint32_t field, ResourceId& id) const {
        if (!(field & highBit)) {
            id.number = static_cast<uint16_t>(field);
            return field <= 0xFFFF;
        }
        const uint32_t offset = field & ~highBit;
        if (!fits(offset, 2) || !fits(offset + 2, 2 * size_t(readUint16(base_ + offset))))
            return false;
        for (size_t i = 0, length = readUint16(base_ + offset); i < length; ++i)
            id.text += static_cast<char16_t>(readUint16(base_ + offset + 2 + 2 * i));
        return !id.text.empty();
    }

    bool readData(uint32_t offset, Resource& path) {
        if (!fits(offset, dataEntrySize))
            return false;
        const uint8_t* entry = base_ + offset;
        const uint32_t size = readUint32(entry + 4);
        size_t available = 0;
        const uint8_t* data = image_.bytesAt(file_, readUint32(entry), available);
        dataTotal_ += size;
        if (!data || available < size || dataTotal_ > file_.size())
            return false;
        path.codePage = readUint32(entry + 8);
        path.data.assign(data, data + size);
        out_.push_back(path);
        return true;
    }

    const Bytes& file_;
    const PeImage& image_;
    const uint8_t* base_;
    size_t available_;
    ResourceList& out_;
    uint64_t entries_ = 0;
    uint64_t dataTotal_ = 0;
};

// One directory of the new section: its entries are its children; the languages' entries point to data.
struct Node {
    explicit Node(ResourceId id, const Resource* resource = nullptr) : id(std::move(id)), resource(resource) {}

    ResourceId id;
    uint32_t offset = 0;     // of its directory, or of its data entry for a language
    uint32_t nameOffset = 0; // of its name, when it has one
    std::vector<Node> children;
    const Resource* resource = nullptr;
};

Node treeOf(const ResourceList& sorted) {
    Node root(0);
    for (const Resource& resource : sorted) {
        if (root.children.empty() || !(root.children.back().id == resource.type))
            root.children.push_back(Node(resource.type));
        Node& type = root.children.back();
        if (type.children.empty() || !(type.children.back().id == resource.name))
            type.children.push_back(Node(resource.name));
        type.children.back().children.push_back(Node(resource.language, &resource));
    }
    return root;
}

// Directories level by level, then the data entries, the names and the data, as resource compilers lay them out.
std::vector<std::vector<Node*>> levelsOf(Node& root) {
    std::vector<std::vector<Node*>> levels{{&root}};
    while (levels.size() < 4) {
        std::vector<Node*> next;
        for (Node* node : levels.back()) {
            for (Node& child : node->children)
                next.push_back(&child);
        }
        levels.push_back(next);
    }
    return levels;
}

void writeDirectory(Bytes& out, const Node& node) {
    const size_t named =
        std::count_if(node.children.begin(), node.children.end(), [](const Node& child) { return child.id.named(); });
    writeUint16(out.data() + node.offset + 12, static_cast<uint16_t>(named));
    writeUint16(out.data() + node.offset + 14, static_cast<uint16_t>(node.children.size() - named));
    uint8_t* entry = out.data() + node.offset + directoryHeaderSize;
    for (const Node& child : node.children) {
        writeUint32(entry, child.id.named() ? highBit | child.nameOffset : child.id.number);
        writeUint32(entry + 4, child.resource ? child.offset : highBit | child.offset);
        entry += entrySize;
    }
}

// Gives every directory, data entry and name its offset; returns the size they take together.
size_t placeNodes(const std::vector<std::vector<Node*>>& levels, std::vector<Node*>& named) {
    size_t at = 0;
    for (size_t level = 0; level < 3; ++level) {
        for (Node* node : levels[level]) {
            node->offset = static_cast<uint32_t>(at);
            at += directoryHeaderSize + entrySize * node->children.size();
        }
    }
    for (Node* language : levels[3]) {
        language->offset = static_cast<uint32_t>(at);
        at += dataEntrySize;
    }
    for (size_t level = 1; level < 3; ++level)
        std::copy_if(levels[level].begin(), levels[level].end(), std::back_inserter(named),
                     [](const Node* node) { return node->id.named(); });
    for (Node* node : named) {
        node->nameOffset = static_cast<uint32_t>(at);
        at += 2 + 2 * node->id.text.size();
    }
    return at;
}

void writeName(Bytes& out, const Node& node) {
    writeUint16(out.data() + node.nameOffset, static_cast<uint16_t>(node.id.text.size()));
    for (size_t i = 0; i < node.id.text.size(); ++i)
        writeUint16(out.data() + node.nameOffset + 2 + 2 * i, node.id.text[i]);
}

// The data goes at the end, each piece on an 8-byte boundary; its entry holds its address in the image.
void appendData(Bytes& out, const Node& language, uint32_t sectionRva) {
    padTo(out, 8);
    uint8_t* entry = out.data() + language.offset;
    writeUint32(entry, sectionRva + static_cast<uint32_t>(out.size()));
    writeUint32(entry + 4, static_cast<uint32_t>(language.resource->data.size()));
    writeUint32(entry + 8, language.resource->codePage);
    out.insert(out.end(), language.resource->data.begin(), language.resource->data.end());
}

} // namespace

bool ResourceId::operator<(const ResourceId& other) const {
    if (named() != other.named())
        return named();
    return named() ? text < other.text : number < other.number;
}

bool readResources(const Bytes& file, const PeImage& image, ResourceList& resources, std::string& error) {
    resources.clear();
    const PeDirectory directory = image.directory(file, resourceDirectory);
    if (directory.rva == 0 || directory.size == 0)
        return true;
    size_t available = 0;
    const uint8_t* base = image.bytesAt(file, directory.rva, available);
    Resource path;
    if (base && DirectoryReader(file, image, base, available, resources).readDirectory(0, 0, path))
        return true;
    error = "its resource directory is damaged";
    return false;
}

Bytes layOutResources(ResourceList resources, uint32_t sectionRva) {
    std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
        return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
    });
    Node root = treeOf(resources);
    std::vector<std::vector<Node*>> levels = levelsOf(root);
    std::vector<Node*> named;
    Bytes out(placeNodes(levels, named));
    for (size_t level = 0; level < 3; ++level) {
        for (const Node* node : levels[level])
            writeDirectory(out, *node);
    }
    for (const Node* node : named)
        writeName(out, *node);
    for (const Node* language : levels[3])
        appendData(out, *language, sectionRva);
    return out;
}
