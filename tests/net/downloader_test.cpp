#include "net/multi_downloader.h"

#include "net/download_session.h"
#include "net/md5.h"
#include "net/progress_record.h"
#include "tests/net/download_recorder.h"
#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace kelo {
namespace {

using test::DownloadRecorder;
using test::TestServer;
using Clock = std::chrono::steady_clock;

constexpr int32_t kBlobSize = 1234567;  // 13 units of 100000, the last one short
constexpr int32_t kUnitSize = 100000;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string BlobPath(const std::string& behaviour, int32_t size = kBlobSize) {
    return "/" + behaviour + "/blob-" + std::to_string(size);
}

// A mirror URL for a fault name; "refused" is a port nobody listens on.
std::string Mirror(const std::string& behaviour) {
    const TestServer& server = TestServer::Instance();
    if (behaviour == "refused") return server.Refused(BlobPath("ok"));
    if (behaviour == "http-ok") return server.Http(BlobPath("ok"));
    if (behaviour == "silent") return server.Silent(BlobPath("ok"));
    return server.Https(BlobPath(behaviour));
}

MultiDownloader::Options FastOptions() {
    MultiDownloader::Options options;
    options.stallSeconds = 2;
    return options;
}

DownloadTask MakeTask(const std::string& path, const std::vector<std::string>& behaviours,
                      DownloadRecorder& rec) {
    DownloadTask task;
    task.totalSize = kBlobSize;
    task.unitSize = kUnitSize;
    task.expectedMd5 = TestServer::Instance().BlobMd5(kBlobSize);
    task.targetPath = path;
    for (const std::string& b : behaviours) task.sourceUrls.push_back(Mirror(b));
    rec.Attach(task);
    return task;
}

// Runs the task to its end: the downloader is destroyed, so every source
// thread has finished and every callback has been made.
bool RunToEnd(const DownloadTask& task, MultiDownloader::Options options = FastOptions()) {
    MultiDownloader downloader(options);
    return downloader.Download(task);
}

void ExpectProgressIsSane(DownloadRecorder& rec, int32_t total) {
    for (const auto& call : rec.Calls()) {
        EXPECT_EQ(call.total, total);
        EXPECT_GE(call.done, 0);
        EXPECT_LE(call.done, total);
    }
}

TEST(MultiDownloader, CompletesWhileAtLeastOneMirrorIsHealthy) {
    KELO_REQUIRE_SERVER();
    const std::vector<std::vector<std::string>> mirrorSets = {
        {"ok"},
        {"http-ok"},
        {"ok", "ok", "ok"},
        {"refused", "ok"},
        {"html404", "ok"},
        {"short", "ok"},
        {"long", "ok"},
        {"norange", "ok"},
        // Bytes are written as they arrive, so a whole-file answer to a range
        // that does not start at 0 must be refused before its first byte.
        {"ok", "norange"},
        {"ok", "html404"},
        {"drop", "ok"},
        {"stall", "ok"},
        {"slow", "ok"},
        // Kept-alive connections the mirror closes between units are opened
        // again; a break in the middle of a later unit ends that source.
        {"dropkeep"},
        {"breakkeep", "ok"},
        {"refused", "html404", "short", "norange", "drop", "stall", "silent", "slow", "ok"},
    };
    const std::string md5 = TestServer::Instance().BlobMd5(kBlobSize);
    ASSERT_EQ(md5.size(), 32u);
    for (const auto& mirrors : mirrorSets) {
        std::string label;
        for (const auto& m : mirrors) label += m + " ";
        SCOPED_TRACE(label);
        test::TempDir dir;
        DownloadRecorder rec;
        const std::string path = dir.Path("Kelo_" + md5 + ".exe");
        const auto start = Clock::now();
        EXPECT_TRUE(RunToEnd(MakeTask(path, mirrors, rec)));
        EXPECT_LT(SecondsSince(start), 30.0);

        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, DownloadProgress);
        EXPECT_EQ(final[0].done, kBlobSize);
        ExpectProgressIsSane(rec, kBlobSize);
        std::ifstream file(path, std::ios::binary);
        EXPECT_EQ(Md5(file).HexDigest(), md5);
    }
}

TEST(MultiDownloader, OnlyFaultyMirrorsEndWithAFailureInBoundedTime) {
    KELO_REQUIRE_SERVER();
    const struct {
        std::vector<std::string> mirrors;
        int32_t status;
    } cases[] = {
        {{"refused"}, DownloadNoSource},
        {{"html404"}, DownloadNoSource},
        {{"stall"}, DownloadNoSource},
        {{"refused", "html404", "short", "long", "norange", "drop", "stall", "silent"}, DownloadNoSource},
        // Right length, wrong bytes: only the digest can tell.
        {{"wrongbytes"}, DownloadBadMd5},
        {{"wrongbytes", "ok"}, DownloadBadMd5},
    };
    for (const auto& c : cases) {
        std::string label;
        for (const auto& m : c.mirrors) label += m + " ";
        SCOPED_TRACE(label);
        test::TempDir dir;
        DownloadRecorder rec;
        const auto start = Clock::now();
        EXPECT_TRUE(RunToEnd(MakeTask(dir.Path("target.exe"), c.mirrors, rec)));
        EXPECT_LT(SecondsSince(start), 30.0);

        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, c.status);
        if (c.status == DownloadNoSource) {
            EXPECT_LT(final[0].done, kBlobSize);
        }
        EXPECT_EQ(rec.Calls().back().status, c.status) << "the failure is the last report";
        if (c.status == DownloadBadMd5) {
            EXPECT_FALSE(test::FileExists(dir.Path("target.exe"))) << "the next run starts clean";
            EXPECT_FALSE(test::FileExists(dir.Path("target.exe.parts")));
        }
        for (const auto& call : rec.Calls()) {
            EXPECT_FALSE(call.status == DownloadProgress && call.done == call.total)
                << "reported as complete";
        }
    }
}

TEST(MultiDownloader, EachHealthyMirrorKeepsOneConnectionForTheWholeDownload) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string paths[] = {"/ok-0-connA/blob-" + std::to_string(kBlobSize),
                                 "/ok-0-connB/blob-" + std::to_string(kBlobSize)};
    test::TempDir dir;
    DownloadRecorder rec;
    DownloadTask task = MakeTask(dir.Path("conn.exe"), {}, rec);
    for (const std::string& path : paths) task.sourceUrls.push_back(server.Https(path));
    EXPECT_TRUE(RunToEnd(task));
    const auto final = rec.Final();
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0].status, DownloadProgress);
    int64_t asked = 0;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_GE(server.RequestCount(path), 1);
        EXPECT_EQ(server.ConnectionCount(path), 1);
        asked += server.RequestedBytes(path);
    }
    EXPECT_GE(asked, kBlobSize);
}

TEST(MultiDownloader, SourcesStillFetchingStopOnceTheVerdictIsIn) {
    KELO_REQUIRE_SERVER();
    // The trickling mirror (8 KiB every 2 s, above the floor) takes a unit
    // it would need half a minute for; the healthy one finishes that unit
    // too, and the verdict ends the trickling transfer.
    for (const char* healthy : {"ok", "wrongbytes"}) {
        SCOPED_TRACE(healthy);
        test::TempDir dir;
        DownloadRecorder rec;
        MultiDownloader::Options options;
        options.stallSeconds = 60;
        const auto start = Clock::now();
        EXPECT_TRUE(RunToEnd(MakeTask(dir.Path("v.exe"), {"slow-2000", healthy}, rec), options));
        EXPECT_LT(SecondsSince(start), 10.0) << "waited for the trickling mirror";
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(rec.Calls().back().status, final[0].status) << "nothing is reported after the verdict";
    }
}

TEST(MultiDownloader, AnAbandonedDownloadStopsPromptlyAndReportsNothingMore) {
    KELO_REQUIRE_SERVER();
    test::TempDir dir;
    DownloadRecorder rec;
    std::atomic<bool> abandoned{false};
    MultiDownloader::Options options;
    options.abandoned = [&abandoned] { return abandoned.load(); };
    std::thread newer([&abandoned] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        abandoned = true;
    });
    const auto start = Clock::now();
    EXPECT_TRUE(RunToEnd(MakeTask(dir.Path("a.exe"), {"slow-400", "slow-400"}, rec), options));
    newer.join();
    EXPECT_LT(SecondsSince(start), 8.0);
    EXPECT_TRUE(rec.Final().empty()) << "no verdict, no status 4 for an abandoned run";
}

TEST(MultiDownloader, ReusesAVerifiedFileWithoutNetwork) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    test::TempDir dir;
    const std::string path = dir.Path("done.exe");
    test::WriteFile(path, server.Blob(kBlobSize));
    const std::string tagged = "/ok-0-reuse/blob-" + std::to_string(kBlobSize);

    DownloadRecorder rec;
    DownloadTask task = MakeTask(path, {}, rec);
    task.sourceUrls = {server.Https(tagged)};
    const auto start = Clock::now();
    EXPECT_TRUE(RunToEnd(task));
    EXPECT_LT(SecondsSince(start), 5.0);

    const auto calls = rec.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].status, DownloadProgress);
    EXPECT_EQ(calls[0].done, kBlobSize);
    EXPECT_EQ(calls[0].total, kBlobSize);
    EXPECT_EQ(server.RequestCount(tagged), 0);
    EXPECT_TRUE(test::FileExists(path));
}

TEST(MultiDownloader, ReplacesAnExistingFileThatDoesNotVerify) {
    KELO_REQUIRE_SERVER();
    const std::string blob = TestServer::Instance().Blob(kBlobSize);
    std::string corrupt = blob;
    corrupt[kBlobSize / 2] ^= 0x55;
    const struct {
        const char* name;
        std::string existing;
    } cases[] = {
        {"right size, wrong bytes", corrupt},
        // Units are written in place, so only deleting it first makes the
        // file end at the right size.
        {"longer than the download", blob + std::string(300000, 'x')},
        {"shorter than the download", blob.substr(0, 1000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.Path("old.exe");
        test::WriteFile(path, c.existing);
        DownloadRecorder rec;
        EXPECT_TRUE(RunToEnd(MakeTask(path, {"ok"}, rec)));
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, DownloadProgress);
        EXPECT_EQ(final[0].done, kBlobSize);
        EXPECT_EQ(test::ReadFile(path), blob);
    }
}

std::vector<bool> UnitBits(std::initializer_list<int> set) {
    std::vector<bool> bits(13, false);
    for (int i : set) bits[i] = true;
    return bits;
}

TEST(MultiDownloader, AMatchingProgressRecordResumesWithTheMissingUnitsOnly) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string blob = server.Blob(kBlobSize);
    const std::string md5 = server.BlobMd5(kBlobSize);
    const RecordKey key{kBlobSize, kUnitSize, md5};
    std::string corrupt = blob;
    corrupt[50] ^= 0x55;  // inside unit 0
    std::string firstSeven = blob.substr(0, 7 * kUnitSize);
    std::string withLast = blob;  // units 0-6 and 12 written, the gap still zero
    std::fill(withLast.begin() + 7 * kUnitSize, withLast.begin() + 12 * kUnitSize, '\0');
    const struct {
        const char* name;
        std::string file;
        std::vector<bool> bits;
        int64_t asked;      // bytes requested from the mirror
        int32_t firstDone;  // done bytes of the first report
        int32_t status;
        bool fileKept;
    } cases[] = {
        {"seven units done", firstSeven, UnitBits({0, 1, 2, 3, 4, 5, 6}), kBlobSize - 7 * kUnitSize,
         8 * kUnitSize, DownloadProgress, true},
        {"last unit written early", withLast, UnitBits({0, 1, 2, 3, 4, 5, 6, 12}), 5 * kUnitSize,
         8 * kUnitSize + (kBlobSize - 12 * kUnitSize), DownloadProgress, true},
        // Nothing left to fetch: the final check alone decides.
        {"every unit, good file", blob, std::vector<bool>(13, true), 0, kBlobSize, DownloadProgress, true},
        {"every unit, corrupted file", corrupt, std::vector<bool>(13, true), 0, kBlobSize, DownloadBadMd5,
         false},
    };
    int tag = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.Path("Kelo_" + md5 + ".exe");
        test::WriteFile(path, c.file);
        test::WriteFile(ProgressRecordPath(path), EncodeProgressRecord(key, c.bits));
        const std::string tagged =
            "/ok-0-resume" + std::to_string(tag++) + "/blob-" + std::to_string(kBlobSize);
        DownloadRecorder rec;
        DownloadTask task = MakeTask(path, {}, rec);
        task.sourceUrls = {server.Https(tagged)};
        EXPECT_TRUE(RunToEnd(task));

        EXPECT_EQ(server.RequestedBytes(tagged), c.asked);
        const auto calls = rec.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().done, c.firstDone) << "recorded units count as done";
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, c.status);
        EXPECT_EQ(test::FileExists(path), c.fileKept);
        if (c.fileKept) {
            EXPECT_EQ(test::ReadFile(path), blob);
        }
        EXPECT_FALSE(test::FileExists(ProgressRecordPath(path))) << "finished with at the verdict";
    }
}

TEST(MultiDownloader, ARecordOfAnotherDownloadChangesNothing) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string blob = server.Blob(kBlobSize);
    const std::string md5 = server.BlobMd5(kBlobSize);
    std::string corrupt = blob;
    corrupt[kBlobSize - 1] ^= 0x55;
    const struct {
        const char* name;
        RecordKey key;
        bool resume;  // the downloader's option
    } cases[] = {
        {"foreign MD5", {kBlobSize, kUnitSize, std::string(32, '0')}, true},
        {"other unit size", {kBlobSize, kUnitSize * 2, md5}, true},
        {"resume turned off", {kBlobSize, kUnitSize, md5}, false},
    };
    int tag = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.Path("Kelo_" + md5 + ".exe");
        test::WriteFile(path, corrupt);  // full size, wrong digest: deleted first
        test::WriteFile(ProgressRecordPath(path), EncodeProgressRecord(c.key, std::vector<bool>(13, true)));
        const std::string tagged =
            "/ok-0-foreign" + std::to_string(tag++) + "/blob-" + std::to_string(kBlobSize);
        DownloadRecorder rec;
        DownloadTask task = MakeTask(path, {}, rec);
        task.sourceUrls = {server.Https(tagged)};
        MultiDownloader::Options options = FastOptions();
        options.resume = c.resume;
        EXPECT_TRUE(RunToEnd(task, options));
        EXPECT_EQ(server.RequestedBytes(tagged), kBlobSize);
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, DownloadProgress);
        EXPECT_EQ(test::ReadFile(path), blob);
        EXPECT_FALSE(test::FileExists(ProgressRecordPath(path)));
    }
}

TEST(MultiDownloader, UpperCaseDigestNeverMatches) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    std::string upper = server.BlobMd5(kBlobSize);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));

    {
        SCOPED_TRACE("a correct download");
        test::TempDir dir;
        DownloadRecorder rec;
        DownloadTask task = MakeTask(dir.Path("a.exe"), {"ok"}, rec);
        task.expectedMd5 = upper;
        EXPECT_TRUE(RunToEnd(task));
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, DownloadBadMd5);
    }
    {
        SCOPED_TRACE("a correct existing file");
        test::TempDir dir;
        const std::string path = dir.Path("b.exe");
        test::WriteFile(path, server.Blob(kBlobSize));
        DownloadRecorder rec;
        DownloadTask task = MakeTask(path, {"refused"}, rec);
        task.expectedMd5 = upper;
        EXPECT_TRUE(RunToEnd(task));
        EXPECT_FALSE(test::FileExists(path)) << "the pre-check deletes it";
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, DownloadNoSource);
    }
}

TEST(MultiDownloader, WithoutDigestNothingIsVerified) {
    KELO_REQUIRE_SERVER();
    test::TempDir dir;
    DownloadRecorder rec;
    DownloadTask task = MakeTask(dir.Path("c.exe"), {"wrongbytes"}, rec);
    task.expectedMd5.clear();
    EXPECT_TRUE(RunToEnd(task));
    const auto final = rec.Final();
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0].status, DownloadProgress);
    EXPECT_EQ(final[0].done, kBlobSize);
}

TEST(MultiDownloader, RefusesInvalidTasks) {
    test::TempDir dir;
    const struct {
        const char* name;
        int32_t total, unit;
        bool url, path;
    } cases[] = {
        {"total size 0", 0, 512000, true, true},       {"negative total size", -5, 512000, true, true},
        {"unit size 0", 1000, 0, true, true},          {"no source", 1000, 512000, false, true},
        {"no target path", 1000, 512000, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRecorder rec;
        DownloadTask task;
        task.totalSize = c.total;
        task.unitSize = c.unit;
        task.expectedMd5 = "d41d8cd98f00b204e9800998ecf8427e";
        if (c.url) task.sourceUrls = {"http://127.0.0.1:9/x"};
        if (c.path) task.targetPath = dir.Path("never.exe");
        rec.Attach(task);
        MultiDownloader downloader;
        EXPECT_FALSE(downloader.Download(task));
        const auto calls = rec.Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].status, DownloadInvalidTask);
        EXPECT_EQ(calls[0].done, c.total);
        EXPECT_EQ(calls[0].total, c.total);
    }
}

TEST(MultiDownloader, AWriteThatKeepsFailingEndsWithStatus5) {
    KELO_REQUIRE_SERVER();
    test::TempDir dir;
    DownloadRecorder rec;
    // The folder does not exist, so every open fails.
    DownloadTask task = MakeTask(dir.Path("missing/folder/x.exe"), {"ok", "ok", "http-ok"}, rec);
    const auto start = Clock::now();
    EXPECT_TRUE(RunToEnd(task));
    EXPECT_LT(SecondsSince(start), 10.0);
    const auto calls = rec.Calls();
    ASSERT_EQ(calls.size(), 1u) << "no progress, no status 4 after the write failure";
    EXPECT_EQ(calls[0].status, DownloadWriteFailed);
    EXPECT_EQ(calls[0].done, 0);
}

// The end of a download where two sources fetched the same last unit.
TEST(DownloadSession, TheSameUnitIsWrittenAndCountedOnce) {
    test::TempDir dir;
    const std::string content = "0123456789abcdefghij";  // 20 bytes, two units of 10
    DownloadRecorder rec;
    DownloadTask task;
    task.totalSize = 20;
    task.unitSize = 10;
    task.expectedMd5 = Md5(content).HexDigest();
    task.targetPath = dir.Path("same.bin");
    task.sourceUrls = {"a", "b"};
    rec.Attach(task);
    DownloadSession session(task, 2, DownloadSession::Limits());

    auto fetched = [&](const DownloadUnit& taken, char fill) {
        DownloadUnit unit;
        unit.offset = taken.offset;
        unit.length = taken.length;
        unit.state = UnitDone;
        unit.data.reset(new char[unit.length + 1]);
        if (fill == 0) {
            std::memcpy(unit.data.get(), content.data() + unit.offset, unit.length);
        } else {
            std::memset(unit.data.get(), fill, unit.length);
        }
        return unit;
    };

    DownloadUnit first, second, again;
    ASSERT_TRUE(session.GetDownloadUnit(first));
    ASSERT_TRUE(session.GetDownloadUnit(second));
    ASSERT_TRUE(session.GetDownloadUnit(again));
    EXPECT_EQ(first.offset, 0);
    EXPECT_EQ(second.offset, 10);
    EXPECT_EQ(again.offset, 10) << "the last taken unit is handed out again";

    ASSERT_EQ(session.WriteDownloadUnit(fetched(first, 0)), DownloadSession::WriteResult::Written);
    session.AddDownloadedBytes(10);
    ASSERT_EQ(session.WriteDownloadUnit(fetched(second, 0)), DownloadSession::WriteResult::Written);
    session.AddDownloadedBytes(10);
    // The slower copy arrives with other bytes: it must not reach the file.
    EXPECT_EQ(session.WriteDownloadUnit(fetched(again, 'z')), DownloadSession::WriteResult::Skipped);
    DownloadUnit none;
    EXPECT_FALSE(session.GetDownloadUnit(none));
    session.SourceEnded();
    session.SourceEnded();

    EXPECT_EQ(test::ReadFile(task.targetPath), content);
    EXPECT_EQ(session.DoneBytes(), 20);
    const auto final = rec.Final();
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0].status, DownloadProgress);
    EXPECT_EQ(final[0].done, 20);
    EXPECT_EQ(rec.Calls().size(), 2u);
}

TEST(DownloadSession, AFileChangedBehindTheDownloadFailsTheFinalCheck) {
    test::TempDir dir;
    const std::string content(30, 'k');
    enum Change { kNone, kGrown, kRemoved };  // done to the file by someone else
    const struct {
        const char* name;
        Change change;
        int32_t status;
    } cases[] = {
        {"untouched", kNone, DownloadProgress},
        {"grown", kGrown, DownloadBadSize},
        // A file that cannot be reopened is not verified, so not complete.
        {"removed", kRemoved, DownloadBadSize},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRecorder rec;
        DownloadTask task;
        task.totalSize = 30;
        task.unitSize = 30;
        task.expectedMd5 = Md5(content).HexDigest();
        task.targetPath = dir.Path(std::string(c.name) + ".bin");
        task.sourceUrls = {"a"};
        rec.Attach(task);
        DownloadSession session(task, 1, DownloadSession::Limits());
        if (c.change == kGrown) test::WriteFile(task.targetPath, content + "tail");
        DownloadUnit unit;
        ASSERT_TRUE(session.GetDownloadUnit(unit));
        unit.data.reset(new char[31]);
        std::memcpy(unit.data.get(), content.data(), 30);
        ASSERT_EQ(session.WriteDownloadUnit(unit), DownloadSession::WriteResult::Written);
        if (c.change == kRemoved) std::remove(task.targetPath.c_str());
        session.AddDownloadedBytes(30);
        session.SourceEnded();
        const auto final = rec.Final();
        ASSERT_EQ(final.size(), 1u);
        EXPECT_EQ(final[0].status, c.status);
    }
}

}  // namespace
}  // namespace kelo
