#include "net/file_ops.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace kelo {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Close reports deferred write errors, so its result counts.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

bool WriteFileAt(const std::string& path, int64_t offset, const char* data, int32_t length, bool flush) {
    if (offset < 0 || length < 0) return false;
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (file.get() < 0) return false;
    int64_t written = 0;
    while (written < length) {
        const ssize_t n = ::pwrite(file.get(), data + written, static_cast<size_t>(length - written),
                                   static_cast<off_t>(offset + written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += n;
    }
    if (flush && ::fdatasync(file.get()) != 0) return false;
    return file.Close();
}

}  // namespace kelo
