#include "ui/skin/skin_archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/skin/test_text.h"
#include "tests/skin/zip_builder.h"

namespace {

using kelo_test::U8;
using kelo_test::W;
using kelo_test::ZipBuilder;
using SkinUI::CSkinArchive;
using SkinUI::SkinArchiveEntry;
using SkinUI::SkinArchivePtr;

SkinArchivePtr OpenMemory(const std::string& zip, uint32_t* result = nullptr) {
    return SkinArchivePtr(CSkinArchive::OpenMemory(zip.data(), zip.size(), result));
}

std::string Extract(CSkinArchive* archive, const char* name, uint32_t* result = nullptr) {
    int index = -1;
    SkinArchiveEntry entry;
    uint32_t found = archive->FindEntry(W(name), true, &index, &entry);
    if (found != SkinUI::kArchiveOk) {
        if (result != nullptr) *result = found;
        return "<missing>";
    }
    std::string out(entry.uncompressedSize, '\0');
    uint32_t written = 0;
    uint32_t r = archive->ExtractToMemory(index, &out[0], entry.uncompressedSize, &written);
    if (result != nullptr) *result = r;
    out.resize(written);
    return out;
}

std::string Pattern(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return s;
}

TEST(SkinArchiveLookup, NameRules) {
    const std::string zip = ZipBuilder().Add("install_form.xml", "<a/>").Add("png/bk.png", "PNG").Build();
    SkinArchivePtr archive = OpenMemory(zip);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->EntryCount(), 2);
    struct Case {
        const char* name;
        bool ignoreCase;
        int index;
    } cases[] = {
        {"png/bk.png", false, 1}, {"PNG/BK.PNG", true, 1},   {"png\\bk.png", true, 1},
        {"PNG\\Bk.png", true, 1}, {"PNG/BK.PNG", false, -1}, {"png/bk.png ", true, -1},
        {"png/bk", true, -1},     {"/png/bk.png", true, -1}, {"install_form.xml", true, 0},
        {"", true, -1},
    };
    for (const Case& c : cases) {
        int index = 99;
        SkinArchiveEntry entry;
        uint32_t r = archive->FindEntry(W(c.name), c.ignoreCase, &index, &entry);
        EXPECT_EQ(index, c.index) << c.name;
        EXPECT_EQ(entry.index, c.index) << c.name;
        EXPECT_EQ(r, c.index >= 0 ? SkinUI::kArchiveOk : SkinUI::kArchiveNotFound) << c.name;
        if (c.index == 1) {
            EXPECT_EQ(U8(entry.name), "png/bk.png");
            EXPECT_EQ(entry.uncompressedSize, 3u);
        } else if (c.index < 0) {
            EXPECT_EQ(entry.uncompressedSize, 0u) << "a miss zeroes the entry";
            EXPECT_EQ(entry.name[0], 0);
        }
    }
    // Names of 256 characters or more are refused even when they exist.
    const std::string longName(256, 'n');
    const std::string zip2 = ZipBuilder().Add(longName, "x").Add(longName.substr(0, 255), "y").Build();
    SkinArchivePtr archive2 = OpenMemory(zip2);
    ASSERT_TRUE(archive2);
    int index = 0;
    EXPECT_EQ(archive2->FindEntry(W(longName), true, &index, nullptr), SkinUI::kArchiveNotFound);
    EXPECT_EQ(archive2->FindEntry(W(longName.substr(0, 255)), true, &index, nullptr), SkinUI::kArchiveOk);
    EXPECT_EQ(index, 1);
}

TEST(SkinArchiveLookup, NameMayBeTheOutputEntrysOwnName) {
    const std::string zip = ZipBuilder().Add("a.xml", "A").Add("b.xml", "B").Build();
    SkinArchivePtr archive = OpenMemory(zip);
    SkinArchiveEntry entry;
    ASSERT_EQ(archive->GetEntry(1, &entry), SkinUI::kArchiveOk);
    int index = -1;
    EXPECT_EQ(archive->FindEntry(entry.name, true, &index, &entry), SkinUI::kArchiveOk);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(U8(entry.name), "b.xml");
}

TEST(SkinArchiveLookup, FirstEqualNameWins) {
    const std::string zip = ZipBuilder().Add("A.xml", "first").Add("a.xml", "second").Build();
    SkinArchivePtr archive = OpenMemory(zip);
    EXPECT_EQ(Extract(archive.get(), "a.xml"), "first");
    int index = -1;
    EXPECT_EQ(archive->FindEntry(UI_TEXT("a.xml"), false, &index, nullptr), SkinUI::kArchiveOk);
    EXPECT_EQ(index, 1);
}

TEST(SkinArchiveExtract, StoredDeflatedPrefixedAndCommented) {
    const std::string big = Pattern(200000);
    for (const char* prefix : {"", "MZ-prefix-bytes", "PK\x05\x06 fake"}) {
        ZipBuilder b;
        b.prefix = prefix;
        b.comment = "comment PK";
        b.Add("stored.txt", "stored data", false).Add("deflated.bin", big).Add("empty", "");
        const std::string zip = b.Build();
        SkinArchivePtr archive = OpenMemory(zip);
        ASSERT_TRUE(archive) << prefix;
        EXPECT_EQ(Extract(archive.get(), "stored.txt"), "stored data") << prefix;
        EXPECT_EQ(Extract(archive.get(), "deflated.bin"), big) << prefix;
        uint32_t r = 1;
        EXPECT_EQ(Extract(archive.get(), "empty", &r), "") << prefix;
        EXPECT_EQ(r, SkinUI::kArchiveOk);
    }
}

TEST(SkinArchiveExtract, ContinuesAcrossCallsAndThenReportsDone) {
    const std::string data = Pattern(100000);
    for (bool deflate : {false, true}) {
        const std::string zip = ZipBuilder().Add("f", data, deflate).Build();
        SkinArchivePtr archive = OpenMemory(zip);
        std::string out;
        char chunk[7000];
        uint32_t r = 0, written = 0;
        int calls = 0;
        while ((r = archive->ExtractToMemory(0, chunk, sizeof(chunk), &written)) == SkinUI::kArchiveMore) {
            out.append(chunk, written);
            ASSERT_LT(++calls, 100);
        }
        EXPECT_EQ(r, SkinUI::kArchiveOk);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(out, data) << deflate;
        // A lookup ends the extraction; the next one starts from the beginning.
        archive->FindEntry(UI_TEXT("f"), true, nullptr, nullptr);
        EXPECT_EQ(archive->ExtractToMemory(0, chunk, 10, &written), SkinUI::kArchiveMore);
        EXPECT_EQ(std::string(chunk, written), data.substr(0, 10));
    }
}

TEST(SkinArchiveExtract, NeverWritesPastTheBufferOrTheDeclaredSize) {
    const std::string data = Pattern(5000);
    for (bool deflate : {false, true}) {
        std::string zip = ZipBuilder().Add("f", data, deflate).Build();
        SkinArchivePtr archive = OpenMemory(zip);
        std::vector<char> buffer(6000, '#');
        uint32_t written = 0;
        EXPECT_EQ(archive->ExtractToMemory(0, buffer.data(), 100, &written), SkinUI::kArchiveMore);
        EXPECT_EQ(written, 100u);
        EXPECT_EQ(buffer[100], '#');
        EXPECT_EQ(archive->ExtractToMemory(0, buffer.data(), 6000, &written), SkinUI::kArchiveMore);
        EXPECT_EQ(written, 4900u);
        EXPECT_EQ(buffer[4900], '#') << "output stops at the declared size";
    }
    // A declared size smaller than the data: the extraction stops there, and
    // the CRC of the short output does not match.
    std::string zip = ZipBuilder().Add("f", data).Build();
    const size_t central = kelo_test::CentralDirectoryOffset(zip);
    kelo_test::PutLe32(&zip, central + 24, 1000);
    kelo_test::PutLe32(&zip, 22, 1000);
    SkinArchivePtr archive = OpenMemory(zip);
    std::vector<char> buffer(6000, '#');
    uint32_t written = 0;
    EXPECT_EQ(archive->ExtractToMemory(0, buffer.data(), 6000, &written), SkinUI::kArchiveCorrupt);
    EXPECT_EQ(buffer[1000], '#');
}

TEST(SkinArchiveExtract, CrcMismatchFailsAFullExtraction) {
    for (bool deflate : {false, true}) {
        std::string zip = ZipBuilder().Add("f", "some content", deflate).Build();
        const size_t central = kelo_test::CentralDirectoryOffset(zip);
        const uint32_t wrong = kelo_test::GetLe32(zip, central + 16) ^ 1;
        kelo_test::PutLe32(&zip, central + 16, wrong);
        kelo_test::PutLe32(&zip, 14, wrong);
        SkinArchivePtr archive = OpenMemory(zip);
        uint32_t r = 0;
        Extract(archive.get(), "f", &r);
        EXPECT_EQ(r, SkinUI::kArchiveCorrupt) << deflate;
    }
}

// Damage applied to a valid archive of one stored and one deflated entry.
struct Damage {
    const char* what;
    void (*apply)(std::string* zip);
    uint32_t openResult;     // expected result of opening
    uint32_t extractResult;  // expected result of extracting entry 1, when it opens
};

size_t End(const std::string& z) {
    return kelo_test::EndRecordOffset(z);
}
size_t Central(const std::string& z) {
    return kelo_test::CentralDirectoryOffset(z);
}
size_t SecondCentral(const std::string& z) {
    return z.find(std::string("PK\x01\x02", 4), Central(z) + 4);
}
size_t SecondLocal(const std::string& z) {
    return z.find(std::string("PK\x03\x04", 4), 4);
}

const Damage kDamages[] = {
    {"no end record", [](std::string* z) { (*z)[End(*z) + 3] = 7; }, SkinUI::kArchiveCorrupt, 0},
    {"disk number", [](std::string* z) { kelo_test::PutLe16(z, End(*z) + 4, 1); }, SkinUI::kArchiveCorrupt,
     0},
    {"entry counts differ", [](std::string* z) { kelo_test::PutLe16(z, End(*z) + 8, 1); },
     SkinUI::kArchiveCorrupt, 0},
    {"directory past end record", [](std::string* z) { kelo_test::PutLe32(z, End(*z) + 16, 0x7FFFFFF0); },
     SkinUI::kArchiveCorrupt, 0},
    {"directory size huge", [](std::string* z) { kelo_test::PutLe32(z, End(*z) + 12, 0xFFFFFFF0); },
     SkinUI::kArchiveCorrupt, 0},
    {"too many entries",
     [](std::string* z) {
         kelo_test::PutLe16(z, End(*z) + 8, 60000);
         kelo_test::PutLe16(z, End(*z) + 10, 60000);
     },
     SkinUI::kArchiveCorrupt, 0},
    {"directory signature", [](std::string* z) { (*z)[SecondCentral(*z)] = 'X'; }, SkinUI::kArchiveCorrupt,
     0},
    {"name length past directory",
     [](std::string* z) { kelo_test::PutLe16(z, SecondCentral(*z) + 28, 60000); }, SkinUI::kArchiveCorrupt,
     0},
    {"local offset past end",
     [](std::string* z) { kelo_test::PutLe32(z, SecondCentral(*z) + 42, 0xFFFFFF00); }, SkinUI::kArchiveOk,
     SkinUI::kArchiveReadError},
    {"compressed size past end",
     [](std::string* z) {
         kelo_test::PutLe32(z, SecondCentral(*z) + 20, 0x7FFFFFFF);
         kelo_test::PutLe32(z, SecondLocal(*z) + 18, 0x7FFFFFFF);
     },
     SkinUI::kArchiveOk, SkinUI::kArchiveCorrupt},
    {"local signature", [](std::string* z) { (*z)[SecondLocal(*z)] = 'X'; }, SkinUI::kArchiveOk,
     SkinUI::kArchiveCorrupt},
    {"local method differs", [](std::string* z) { kelo_test::PutLe16(z, SecondLocal(*z) + 8, 0); },
     SkinUI::kArchiveOk, SkinUI::kArchiveCorrupt},
    {"unsupported method",
     [](std::string* z) {
         kelo_test::PutLe16(z, SecondLocal(*z) + 8, 12);
         kelo_test::PutLe16(z, SecondCentral(*z) + 10, 12);
     },
     SkinUI::kArchiveOk, SkinUI::kArchiveCorrupt},
    {"local size differs", [](std::string* z) { kelo_test::PutLe32(z, SecondLocal(*z) + 22, 1); },
     SkinUI::kArchiveOk, SkinUI::kArchiveCorrupt},
    {"encrypted", [](std::string* z) { kelo_test::PutLe16(z, SecondCentral(*z) + 8, 1); }, SkinUI::kArchiveOk,
     SkinUI::kArchiveCorrupt},
    {"local name length differs", [](std::string* z) { kelo_test::PutLe16(z, SecondLocal(*z) + 26, 2); },
     SkinUI::kArchiveOk, SkinUI::kArchiveCorrupt},
    {"deflate data damaged",
     [](std::string* z) {
         for (size_t i = SecondLocal(*z) + 30 + 1; i < SecondLocal(*z) + 40; ++i) (*z)[i] = '\xFF';
     },
     SkinUI::kArchiveOk, SkinUI::kArchiveDecompressFailed},
};

TEST(SkinArchiveDamage, EveryDamageGivesACodeNotACrash) {
    for (const Damage& d : kDamages) {
        std::string zip = ZipBuilder().Add("a", "stored", false).Add("b", Pattern(3000)).Build();
        d.apply(&zip);
        // Hand the reader an exact-size heap copy, so ASan sees any overread.
        std::vector<char> block(zip.begin(), zip.end());
        uint32_t result = 1;
        SkinArchivePtr archive(CSkinArchive::OpenMemory(block.data(), block.size(), &result));
        EXPECT_EQ(result, d.openResult) << d.what;
        if (!archive) continue;
        std::vector<char> out(3000);
        EXPECT_EQ(archive->ExtractToMemory(1, out.data(), 3000), d.extractResult) << d.what;
        SkinArchiveEntry entry;
        archive->FindEntry(UI_TEXT("b"), true, nullptr, &entry);  // reads the local header for times
    }
}

TEST(SkinArchiveOpen, BadArgumentsAndEmptySources) {
    uint32_t r = 0;
    EXPECT_EQ(CSkinArchive::OpenMemory(nullptr, 10, &r), nullptr);
    EXPECT_EQ(r, SkinUI::kArchiveBadArguments);
    EXPECT_EQ(CSkinArchive::OpenMemory("", 0, &r), nullptr);
    EXPECT_EQ(r, SkinUI::kArchiveCorrupt);
    EXPECT_EQ(CSkinArchive::OpenMemory("PK\x05\x06", 4, &r), nullptr);
    EXPECT_EQ(r, SkinUI::kArchiveCorrupt);
    EXPECT_EQ(CSkinArchive::OpenFile(UI_TEXT("/no/such/archive.zip"), &r), nullptr);
    EXPECT_EQ(r, SkinUI::kArchiveCannotOpen);
    const std::string zip = ZipBuilder().Add("a", "x").Build();
    SkinArchivePtr archive = OpenMemory(zip);
    char c;
    EXPECT_EQ(archive->ExtractToMemory(1, &c, 1), SkinUI::kArchiveBadArguments);
    EXPECT_EQ(archive->ExtractToMemory(-1, &c, 1), SkinUI::kArchiveBadArguments);
    EXPECT_EQ(archive->ExtractToMemory(0, nullptr, 1), SkinUI::kArchiveBadArguments);
    CSkinArchive::Close(nullptr);
}

TEST(SkinArchiveOpen, FromAFileWithPrefix) {
    ZipBuilder b;
    b.prefix = std::string(5000, 'P');
    const std::string big = Pattern(100000);
    b.Add("dir/file.xml", big).Add("s", "stored", false);
    const std::string path = ::testing::TempDir() + "skin_archive_test.zip";
    ASSERT_TRUE(kelo_test::WriteFile(path, b.Build()));
    uint32_t r = 1;
    SkinArchivePtr archive(CSkinArchive::OpenFile(W(path), &r));
    ASSERT_TRUE(archive);
    EXPECT_EQ(r, SkinUI::kArchiveOk);
    EXPECT_EQ(Extract(archive.get(), "DIR\\FILE.XML"), big);
    EXPECT_EQ(Extract(archive.get(), "s"), "stored");
    SkinArchiveEntry entry;
    ASSERT_EQ(archive->GetEntry(1, &entry), SkinUI::kArchiveOk);
    EXPECT_EQ(U8(entry.name), "s");
    EXPECT_EQ(entry.attributes, 0x20u);
    // 2020-01-01 00:00:00 UTC as a FILETIME.
    EXPECT_EQ(entry.modificationTime, (1577836800ULL + 11644473600ULL) * 10000000ULL);
    archive.reset();
    std::remove(path.c_str());
}

TEST(SkinArchiveConcurrency, OneHandleSharedByThreads) {
    ZipBuilder b;
    std::vector<std::string> contents;
    for (int i = 0; i < 8; ++i) {
        contents.push_back(Pattern(20000 + i * 1000));
        b.Add("f" + std::to_string(i), contents.back());
    }
    const std::string zip = b.Build();
    SkinArchivePtr archive = OpenMemory(zip);
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                const int i = (t + round) % 8;
                // Lookup and extraction are separate operations; another thread
                // may restart the extraction in between, so retry until whole.
                std::string got;
                for (int attempt = 0; attempt < 50 && got != contents[i]; ++attempt)
                    got = Extract(archive.get(), ("f" + std::to_string(i)).c_str());
                if (got != contents[i]) ++failures[t];
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
