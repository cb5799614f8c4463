#include "net/file_check.h"

#include "net/md5.h"

#include <fstream>

namespace kelo {

FileCheck CheckFile(const std::string& path, int64_t expectedSize, const std::string& expectedMd5) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return FileCheck::Missing;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size != expectedSize) return FileCheck::BadSize;
    file.seekg(0, std::ios::beg);
    Md5 md5;
    md5.UpdateFromFile(file);
    return md5.HexDigest() == expectedMd5 ? FileCheck::Ok : FileCheck::BadMd5;
}

}  // namespace kelo
