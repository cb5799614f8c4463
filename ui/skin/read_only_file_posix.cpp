#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "ui/core/text_convert.h"
#include "ui/skin/read_only_file.h"

namespace SkinUI {

bool ReadOnlyFile::Open(const UiChar* path) {
    Close();
    if (path == nullptr || *path == 0) return false;
    std::string utf8 = UiToUtf8(path);
    fd_ = ::open(utf8.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return false;
    }
    return true;
}

void ReadOnlyFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool ReadOnlyFile::IsOpen() const {
    return fd_ >= 0;
}

bool ReadOnlyFile::Size(uint64_t* size) const {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0) return false;
    *size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t length) const {
    if (fd_ < 0) return false;
    char* out = static_cast<char*>(buffer);
    while (length > 0) {
        ssize_t n = ::pread(fd_, out, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        offset += static_cast<uint64_t>(n);
        length -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace SkinUI
