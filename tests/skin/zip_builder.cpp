#include "tests/skin/zip_builder.h"

#include <zlib.h>

#include <cstdio>

namespace kelo_test {

namespace {

void Le16(std::string* s, uint16_t v) {
    s->push_back(static_cast<char>(v & 0xFF));
    s->push_back(static_cast<char>(v >> 8));
}
void Le32(std::string* s, uint32_t v) {
    Le16(s, static_cast<uint16_t>(v & 0xFFFF));
    Le16(s, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::string RawDeflate(const std::string& data) {
    z_stream zs = {};
    deflateInit2(&zs, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, data.size()) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

uint32_t Crc32(const std::string& data) {
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string ZipBuilder::Build(std::vector<size_t>* offsets) const {
    std::string out = prefix;
    std::string directory;
    for (const ZipEntrySpec& e : entries) {
        const std::string packed = e.deflate ? RawDeflate(e.data) : e.data;
        const uint16_t method = e.deflate ? 8 : 0;
        const uint32_t crc = Crc32(e.data);
        const uint32_t local = static_cast<uint32_t>(out.size() - prefix.size());
        if (offsets != nullptr) offsets->push_back(out.size());
        Le32(&out, 0x04034B50);
        Le16(&out, 20);
        Le16(&out, 0);
        Le16(&out, method);
        Le16(&out, 0);       // time
        Le16(&out, 0x5021);  // date 2020-01-01
        Le32(&out, crc);
        Le32(&out, static_cast<uint32_t>(packed.size()));
        Le32(&out, static_cast<uint32_t>(e.data.size()));
        Le16(&out, static_cast<uint16_t>(e.name.size()));
        Le16(&out, 0);
        out += e.name;
        out += packed;

        Le32(&directory, 0x02014B50);
        Le16(&directory, 20);
        Le16(&directory, 20);
        Le16(&directory, 0);
        Le16(&directory, method);
        Le16(&directory, 0);
        Le16(&directory, 0x5021);
        Le32(&directory, crc);
        Le32(&directory, static_cast<uint32_t>(packed.size()));
        Le32(&directory, static_cast<uint32_t>(e.data.size()));
        Le16(&directory, static_cast<uint16_t>(e.name.size()));
        Le16(&directory, 0);
        Le16(&directory, 0);
        Le16(&directory, 0);
        Le16(&directory, 0);
        Le32(&directory, 0x20);
        Le32(&directory, local);
        directory += e.name;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(out.size() - prefix.size());
    out += directory;
    Le32(&out, 0x06054B50);
    Le16(&out, 0);
    Le16(&out, 0);
    Le16(&out, static_cast<uint16_t>(entries.size()));
    Le16(&out, static_cast<uint16_t>(entries.size()));
    Le32(&out, static_cast<uint32_t>(directory.size()));
    Le32(&out, directoryOffset);
    Le16(&out, static_cast<uint16_t>(comment.size()));
    out += comment;
    return out;
}

void PutLe32(std::string* s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*s)[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutLe16(std::string* s, size_t at, uint16_t v) {
    (*s)[at] = static_cast<char>(v & 0xFF);
    (*s)[at + 1] = static_cast<char>(v >> 8);
}

uint32_t GetLe32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

size_t EndRecordOffset(const std::string& zip) {
    return zip.rfind(std::string("PK\x05\x06", 4));
}

size_t CentralDirectoryOffset(const std::string& zip) {
    return zip.find(std::string("PK\x01\x02", 4));
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace kelo_test
