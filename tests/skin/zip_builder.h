// Builds small ZIP archives in memory for the archive and loader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelo_test {

struct ZipEntrySpec {
    std::string name;
    std::string data;
    bool deflate = true;
};

struct ZipBuilder {
    std::vector<ZipEntrySpec> entries;
    std::string prefix;   // bytes before the archive
    std::string comment;  // archive comment after the end record

    ZipBuilder& Add(const std::string& name, const std::string& data, bool deflate = true) {
        entries.push_back(ZipEntrySpec{name, data, deflate});
        return *this;
    }
    // The archive; offsets[i] receives the local header offset of entry i
    // (within the result, prefix included).
    std::string Build(std::vector<size_t>* offsets = nullptr) const;
};

std::string RawDeflate(const std::string& data);
uint32_t Crc32(const std::string& data);

// Little-endian field access for tests that damage an archive.
void PutLe32(std::string* s, size_t at, uint32_t v);
void PutLe16(std::string* s, size_t at, uint16_t v);
uint32_t GetLe32(const std::string& s, size_t at);
// Offset of the end-of-central-directory record, of the central directory.
size_t EndRecordOffset(const std::string& zip);
size_t CentralDirectoryOffset(const std::string& zip);

bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace kelo_test
