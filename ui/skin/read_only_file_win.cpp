#include <windows.h>

#include "ui/skin/read_only_file.h"

namespace SkinUI {

bool ReadOnlyFile::Open(const UiChar* path) {
    Close();
    if (path == nullptr || *path == 0) return false;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    return true;
}

void ReadOnlyFile::Close() {
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

bool ReadOnlyFile::IsOpen() const {
    return handle_ != nullptr;
}

bool ReadOnlyFile::Size(uint64_t* size) const {
    LARGE_INTEGER li;
    if (handle_ == nullptr || !GetFileSizeEx(static_cast<HANDLE>(handle_), &li) || li.QuadPart < 0)
        return false;
    *size = static_cast<uint64_t>(li.QuadPart);
    return true;
}

bool ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t length) const {
    if (handle_ == nullptr) return false;
    char* out = static_cast<char*>(buffer);
    while (length > 0) {
        OVERLAPPED ov = {};
        ov.Offset = static_cast<DWORD>(offset);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD chunk = length > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length);
        DWORD read = 0;
        if (!ReadFile(static_cast<HANDLE>(handle_), out, chunk, &read, &ov) || read == 0) return false;
        out += read;
        offset += read;
        length -= read;
    }
    return true;
}

}  // namespace SkinUI
