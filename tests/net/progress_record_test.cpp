#include "net/progress_record.h"

#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelo {
namespace {

const RecordKey kKey{250, 100, std::string(32, 'a')};  // three units: 100, 100, 50

std::vector<bool> Bits(std::initializer_list<int> set, size_t count = 3) {
    std::vector<bool> bits(count, false);
    for (int i : set) bits[i] = true;
    return bits;
}

TEST(ProgressRecord, EncodesAndDecodesOnlyItsOwnDownload) {
    const std::string record = EncodeProgressRecord(kKey, Bits({0, 2}));
    std::vector<bool> done;
    ASSERT_TRUE(DecodeProgressRecord(record, kKey, done));
    EXPECT_EQ(done, Bits({0, 2}));

    std::string beyond = record;
    beyond.back() = static_cast<char>(beyond.back() | 0x08);  // unit 3 of 3
    const struct {
        const char* name;
        std::string bytes;
        RecordKey key;
    } refused[] = {
        {"other MD5", record, {250, 100, std::string(32, 'b')}},
        {"other unit size", record, {250, 125, kKey.md5}},
        {"other total size", record, {260, 100, kKey.md5}},
        {"truncated", record.substr(0, record.size() - 1), kKey},
        {"trailing byte", record + '\0', kKey},
        {"empty", "", kKey},
        {"bits beyond the unit count", beyond, kKey},
        {"other magic", "X" + record.substr(1), kKey},
        {"other version", record.substr(0, 8) + '\x02' + record.substr(9), kKey},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DecodeProgressRecord(c.bytes, c.key, done));
        EXPECT_TRUE(done.empty());
    }
}

TEST(ProgressRecord, ResumesOnlyWhenTheFileStillHoldsTheRecordedUnits) {
    const std::string full = EncodeProgressRecord(kKey, Bits({0, 1}));
    const struct {
        const char* name;
        bool writeFile;
        size_t fileSize;
        std::string record;
        bool resumes;
    } cases[] = {
        {"matching", true, 200, full, true},
        {"matching, last unit written early", true, 250, EncodeProgressRecord(kKey, Bits({0, 2})), true},
        {"record present, file missing", false, 0, full, false},
        {"file shorter than a recorded unit", true, 150, full, false},
        {"file longer than the download", true, 300, full, false},
        {"no unit recorded", true, 200, EncodeProgressRecord(kKey, Bits({})), false},
        {"foreign MD5", true, 200, EncodeProgressRecord({250, 100, std::string(32, 'c')}, Bits({0, 1})),
         false},
        {"other unit size", true, 200, EncodeProgressRecord({250, 50, kKey.md5}, Bits({0, 1}, 5)), false},
        {"truncated", true, 200, full.substr(0, 20), false},
        {"no record", true, 200, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string target = dir.Path("Kelo_x.exe");
        if (c.writeFile) test::WriteFile(target, std::string(c.fileSize, 'k'));
        if (!c.record.empty()) test::WriteFile(ProgressRecordPath(target), c.record);
        std::vector<bool> done;
        EXPECT_EQ(LoadResumableUnits(target, kKey, done), c.resumes);
        if (c.resumes) {
            EXPECT_EQ(done.size(), 3u);
        } else {
            EXPECT_TRUE(done.empty());
        }
    }
}

}  // namespace
}  // namespace kelo
