#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// What a progress record belongs to: a record is used only for the very same
// download (size, unit size and expected MD5).
struct RecordKey {
    int32_t totalSize = 0;
    int32_t unitSize = 0;
    std::string md5;
};

// The record kept next to a partly downloaded file, so that a later run
// fetches only the units still missing. Little-endian layout:
//   8 bytes "KELOPART", u32 version (1), u32 total size, u32 unit size,
//   32 bytes expected MD5 text, u32 unit count, one bit per unit
//   (unit i in byte i / 8, bit i % 8), unused bits of the last byte zero.
// A bit is set only after its unit's bytes were written and flushed to the
// target file. The record never vouches for content: the final size and MD5
// check of the whole file still decides.
std::string ProgressRecordPath(const std::string& targetPath);

// Number of units of a download; 0 when the sizes are not both at least 1.
int32_t UnitCount(int32_t totalSize, int32_t unitSize);

std::string EncodeProgressRecord(const RecordKey& key, const std::vector<bool>& done);

// True, with one flag per unit in `done`, when `bytes` is a well-formed
// record of exactly this download. Anything else (another download, another
// version, truncated or trailing bytes, bits beyond the last unit) is false.
bool DecodeProgressRecord(const std::string& bytes, const RecordKey& key, std::vector<bool>& done);

// The units a run can skip: the record next to `targetPath` is a record of
// this download, the target file exists, is no longer than the download and
// holds every unit the record names, and at least one unit is named.
// Otherwise false: the run starts as if there were no record.
bool LoadResumableUnits(const std::string& targetPath, const RecordKey& key, std::vector<bool>& done);

}  // namespace kelo
