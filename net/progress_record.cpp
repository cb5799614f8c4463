#include "net/progress_record.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace kelo {

namespace {

constexpr char kMagic[8] = {'K', 'E', 'L', 'O', 'P', 'A', 'R', 'T'};
constexpr uint32_t kVersion = 1;
constexpr size_t kMd5Length = 32;
constexpr size_t kHeaderSize = sizeof kMagic + 4 + 4 + 4 + kMd5Length + 4;

void PutU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

uint32_t GetU32(const std::string& in, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

bool ReadSmallFile(const std::string& path, std::string& bytes, size_t limit) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) return false;
    bytes.assign(limit + 1, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes.size() <= limit;
}

bool FileSize(const std::string& path, int64_t& size) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0) return false;
    size = static_cast<int64_t>(end);
    return true;
}

}  // namespace

std::string ProgressRecordPath(const std::string& targetPath) {
    return targetPath + ".parts";
}

int32_t UnitCount(int32_t totalSize, int32_t unitSize) {
    if (totalSize < 1 || unitSize < 1) return 0;
    return static_cast<int32_t>((static_cast<int64_t>(totalSize) + unitSize - 1) / unitSize);
}

std::string EncodeProgressRecord(const RecordKey& key, const std::vector<bool>& done) {
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, kVersion);
    PutU32(out, static_cast<uint32_t>(key.totalSize));
    PutU32(out, static_cast<uint32_t>(key.unitSize));
    std::string md5 = key.md5;
    md5.resize(kMd5Length, '\0');
    out += md5;
    const int32_t count = UnitCount(key.totalSize, key.unitSize);
    PutU32(out, static_cast<uint32_t>(count));
    std::string bits((static_cast<size_t>(count) + 7) / 8, '\0');
    for (int32_t i = 0; i < count && static_cast<size_t>(i) < done.size(); ++i) {
        if (done[i]) bits[i / 8] = static_cast<char>(bits[i / 8] | (1 << (i % 8)));
    }
    return out + bits;
}

bool DecodeProgressRecord(const std::string& bytes, const RecordKey& key, std::vector<bool>& done) {
    done.clear();
    const int32_t count = UnitCount(key.totalSize, key.unitSize);
    if (count == 0 || key.md5.size() != kMd5Length) return false;
    const size_t bitBytes = (static_cast<size_t>(count) + 7) / 8;
    if (bytes.size() != kHeaderSize + bitBytes) return false;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return false;
    size_t at = sizeof kMagic;
    if (GetU32(bytes, at) != kVersion) return false;
    if (GetU32(bytes, at + 4) != static_cast<uint32_t>(key.totalSize)) return false;
    if (GetU32(bytes, at + 8) != static_cast<uint32_t>(key.unitSize)) return false;
    at += 12;
    if (bytes.compare(at, kMd5Length, key.md5) != 0) return false;
    at += kMd5Length;
    if (GetU32(bytes, at) != static_cast<uint32_t>(count)) return false;
    at += 4;
    const auto last = static_cast<unsigned char>(bytes[at + bitBytes - 1]);
    const int usedBits = count % 8 == 0 ? 8 : count % 8;
    if ((last >> usedBits) != 0) return false;  // a unit that does not exist
    done.assign(static_cast<size_t>(count), false);
    for (int32_t i = 0; i < count; ++i) {
        done[i] = (static_cast<unsigned char>(bytes[at + i / 8]) >> (i % 8)) & 1;
    }
    return true;
}

bool LoadResumableUnits(const std::string& targetPath, const RecordKey& key, std::vector<bool>& done) {
    done.clear();
    const int32_t count = UnitCount(key.totalSize, key.unitSize);
    if (count == 0) return false;
    std::string bytes;
    if (!ReadSmallFile(ProgressRecordPath(targetPath), bytes,
                       kHeaderSize + (static_cast<size_t>(count) + 7) / 8))
        return false;
    std::vector<bool> recorded;
    if (!DecodeProgressRecord(bytes, key, recorded)) return false;
    int64_t fileSize = 0;
    if (!FileSize(targetPath, fileSize) || fileSize > key.totalSize) return false;
    bool any = false;
    for (int32_t i = 0; i < count; ++i) {
        if (!recorded[i]) continue;
        const int64_t end = std::min<int64_t>(static_cast<int64_t>(i + 1) * key.unitSize, key.totalSize);
        if (end > fileSize) return false;  // the file lost what the record names
        any = true;
    }
    if (!any) return false;
    done = std::move(recorded);
    return true;
}

}  // namespace kelo
