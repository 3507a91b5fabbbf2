#include "LibraryImage.h"

#include "CompanionWidth.h"
#include "support/UniqueResource.h"

namespace {

// A read-only view of a whole file; the view, the mapping and the file are released in that order.
class MappedImage {
public:
    explicit MappedImage(const std::wstring& path) {
        file_.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        // An empty file cannot be mapped.
        if (!file_ || !GetFileSizeEx(file_.get(), &size) || size.QuadPart <= 0)
            return;
        mapping_.reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping_)
            return;
        view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
        if (view_)
            size_ = static_cast<size_t>(size.QuadPart);
    }

    const uint8_t* bytes() const { return static_cast<const uint8_t*>(view_.get()); }
    size_t size() const { return size_; }

private:
    // Members are destroyed in reverse order: view first, then the mapping, then the file.
    UniqueFileHandle file_;
    UniqueHandle mapping_;
    UniqueMappedView view_;
    size_t size_ = 0;
};

} // namespace

// The NT headers are read here from the view with bounds checks, rather than through a helper library loaded
// by its bare name, which would be searched for in the application's and the current folder first.
bool isCompanionLibrary(const std::wstring& path) {
    MappedImage image(path);
    return imageMachine(image.bytes(), image.size()) == companionMachine;
}
