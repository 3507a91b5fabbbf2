#include "BrandFiles.h"

#include "Utf16.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor it owns.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return descriptor_; }
    bool close() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return descriptor < 0 || ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

bool failed(std::string& error) {
    error = std::strerror(errno);
    return false;
}

bool writeAll(int descriptor, const Bytes& contents) {
    for (size_t written = 0; written < contents.size();) {
        const ssize_t count = ::write(descriptor, contents.data() + written, contents.size() - written);
        if (count < 0 && errno != EINTR)
            return false;
        written += count > 0 ? size_t(count) : 0;
    }
    return true;
}

} // namespace

bool readWholeFile(const std::u16string& path, Bytes& contents, std::string& error) {
    FileDescriptor file(::open(utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status;
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0)
        return failed(error);
    if (!S_ISREG(status.st_mode))
        return error = "not a file", false;
    contents.resize(size_t(status.st_size));
    for (size_t done = 0; done < contents.size();) {
        const ssize_t count = ::read(file.get(), contents.data() + done, contents.size() - done);
        if (count == 0)
            return error = "the file became shorter while it was read", false;
        if (count < 0 && errno != EINTR)
            return failed(error);
        done += count > 0 ? size_t(count) : 0;
    }
    return true;
}

bool replaceFile(const std::u16string& path, const Bytes& contents, std::string& error) {
    const std::string target = utf16ToUtf8(path);
    std::string temporary = target + ".XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0)
        return failed(error);
    // A replaced file keeps its permissions; a new one gets those the user's mask allows.
    struct stat existing;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~mask;
    const bool written = ::fchmod(file.get(), mode) == 0 && writeAll(file.get(), contents) &&
                         ::fsync(file.get()) == 0 && file.close() && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (written)
        return true;
    failed(error);
    ::unlink(temporary.c_str());
    return false;
}

void printText(const std::string& text, bool toError) { std::fputs(text.c_str(), toError ? stderr : stdout); }
