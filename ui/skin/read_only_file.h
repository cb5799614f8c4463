// ReadOnlyFile: a file opened for reading (others may read it too), closed by
// the destructor.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/core/ui_char.h"

namespace SkinUI {

class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() { Close(); }

    // Opens an existing file; false when it cannot be opened.
    bool Open(const UiChar* path);
    void Close();
    bool IsOpen() const;
    // The file's size, or false when it cannot be taken.
    bool Size(uint64_t* size) const;
    // Reads exactly length bytes at offset; false on any error or a short read.
    bool ReadAt(uint64_t offset, void* buffer, size_t length) const;

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // HANDLE; null when closed
#else
    int fd_ = -1;
#endif
};

}  // namespace SkinUI
