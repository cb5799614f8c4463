#pragma once

#include <cstdint>
#include <string>

namespace kelo {

enum class FileCheck {
    Missing,  // the file cannot be opened for reading
    BadSize,  // its size differs from the expected one
    BadMd5,   // right size, but its MD5 text differs (exact, case-sensitive)
    Ok,
};

// Opens `path` as raw bytes, compares its size and then its MD5 text.
FileCheck CheckFile(const std::string& path, int64_t expectedSize, const std::string& expectedMd5);

}  // namespace kelo
