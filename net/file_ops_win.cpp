#include "net/file_ops.h"

#include <windows.h>

namespace kelo {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

}  // namespace

bool WriteFileAt(const std::string& path, int64_t offset, const char* data, int32_t length, bool flush) {
    if (offset < 0 || length < 0) return false;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file.get(), static_cast<LONG>(offset & 0xffffffff), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), data, static_cast<DWORD>(length), &written, nullptr)) return false;
    if (written != static_cast<DWORD>(length)) return false;
    return !flush || FlushFileBuffers(file.get()) != 0;
}

}  // namespace kelo
