#include "net/download_session.h"

#include "net/file_check.h"
#include "net/file_ops.h"
#include "net/progress_record.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstdio>
#include <thread>

namespace kelo {

int32_t FinishDownload(const DownloadTask& task) {
    const FileCheck check = CheckFile(task.targetPath, task.totalSize, task.expectedMd5);
    std::remove(ProgressRecordPath(task.targetPath).c_str());
    switch (check) {
        case FileCheck::Ok:
            return DownloadProgress;
        case FileCheck::BadMd5:
            std::remove(task.targetPath.c_str());
            return DownloadBadMd5;
        // A file that cannot be reopened is not verified: it is not
        // reported as complete.
        case FileCheck::Missing:
        case FileCheck::BadSize:
            break;
    }
    return DownloadBadSize;
}

DownloadSession::DownloadSession(const DownloadTask& task, int sourceCount, Limits limits)
    : task_(task), limits_(limits), sourcesRunning_(sourceCount) {
    assert(task.totalSize >= 1 && task.unitSize >= 1 && sourceCount >= 1);
    std::lock_guard<std::mutex> lock(mapLock_);
    units_.Split(task.totalSize, task.unitSize);
}

void DownloadSession::ResumeFrom(const std::vector<bool>& done) {
    int32_t bytes = 0;
    {
        std::lock_guard<std::mutex> lock(mapLock_);
        for (size_t i = 0; i < done.size(); ++i) {
            if (!done[i]) continue;
            const int64_t offset = static_cast<int64_t>(i) * task_.unitSize;
            if (offset >= task_.totalSize) break;
            const DownloadUnit* unit = units_.Find(static_cast<int32_t>(offset));
            if (unit != nullptr && units_.MarkDone(unit->offset)) bytes += unit->length;
        }
    }
    std::lock_guard<std::mutex> lock(progressLock_);
    doneBytes_ += bytes;
}

void DownloadSession::StartRecord() {
    if (task_.expectedMd5.empty()) return;  // nothing could check a resumed file
    std::lock_guard<std::mutex> lock(mapLock_);
    recordBits_.assign(static_cast<size_t>(UnitCount(task_.totalSize, task_.unitSize)), false);
    for (const auto& entry : units_.units()) {
        if (entry.second.state == UnitDone) recordBits_[entry.first / task_.unitSize] = true;
    }
    std::remove(ProgressRecordPath(task_.targetPath).c_str());
    WriteRecord();
}

void DownloadSession::WriteRecord() {
    if (recordBits_.empty()) return;
    const RecordKey key{task_.totalSize, task_.unitSize, task_.expectedMd5};
    const std::string bytes = EncodeProgressRecord(key, recordBits_);
    // Not flushed: every bit it holds belongs to a unit that is already on
    // disk, and a record lost or torn in a crash only costs a re-fetch (bits
    // are only ever set, so a torn record names a subset of written units).
    WriteFileAt(ProgressRecordPath(task_.targetPath), 0, bytes.data(), static_cast<int32_t>(bytes.size()),
                /*flush=*/false);
}

bool DownloadSession::Stopped() const {
    return finished_.load() || (limits_.abandoned && limits_.abandoned());
}

bool DownloadSession::GetDownloadUnit(DownloadUnit& out) {
    if (Stopped()) return false;
    std::lock_guard<std::mutex> lock(mapLock_);
    if (writeFailed_) return false;
    return units_.Take(out);
}

bool DownloadSession::GetDownloadSpan(int maxUnits, std::vector<DownloadUnit>& out) {
    out.clear();
    if (Stopped()) return false;
    const int sources = SourcesRunning();
    std::lock_guard<std::mutex> lock(mapLock_);
    if (writeFailed_) return false;
    const size_t share = units_.PendingCount() / static_cast<size_t>(sources < 1 ? 1 : sources);
    const int limit =
        static_cast<int>(std::max<size_t>(1, std::min<size_t>(share, static_cast<size_t>(maxUnits))));
    return units_.TakeSpan(limit, out);
}

bool DownloadSession::SpanDone(const std::vector<DownloadUnit>& span, size_t from) {
    std::lock_guard<std::mutex> lock(mapLock_);
    for (size_t i = from; i < span.size(); ++i) {
        const DownloadUnit* unit = units_.Find(span[i].offset);
        if (unit != nullptr && unit->state != UnitDone) return false;
    }
    return true;
}

DownloadSession::WriteResult DownloadSession::WriteDownloadUnit(const DownloadUnit& unit) {
    std::lock_guard<std::mutex> lock(mapLock_);
    if (writeFailed_) return WriteResult::Skipped;
    const DownloadUnit* entry = units_.Find(unit.offset);
    if (entry == nullptr || entry->state == UnitDone) return WriteResult::Skipped;
    assert(entry->length == unit.length && unit.data != nullptr);
    for (int attempt = 1; attempt <= limits_.writeAttempts; ++attempt) {
        if (WriteFileAt(task_.targetPath, unit.offset, unit.data.get(), unit.length)) {
            units_.MarkDone(unit.offset);
            if (!recordBits_.empty()) {
                recordBits_[unit.offset / task_.unitSize] = true;
                WriteRecord();
            }
            return WriteResult::Written;
        }
        // A locked or full disk may clear up; the lock is held meanwhile so
        // the writes stay serialised, but only for a bounded time.
        if (attempt < limits_.writeAttempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(limits_.writeRetryMs));
    }
    writeFailed_ = true;
    finished_ = true;
    return WriteResult::Failed;
}

void DownloadSession::AddDownloadedBytes(int32_t count) {
    int32_t done;
    {
        std::lock_guard<std::mutex> lock(progressLock_);
        doneBytes_ += count;
        done = doneBytes_;
    }
    int32_t status = DownloadProgress;
    if (done == task_.totalSize) {
        // The final verdict: sources still fetching a unit again stop now.
        finished_ = true;
        if (!task_.expectedMd5.empty()) status = FinishDownload(task_);
    }
    Report(status, done);
}

void DownloadSession::ReportWriteFailure() {
    Report(DownloadWriteFailed, DoneBytes());
}

void DownloadSession::SourceEnded() {
    bool last;
    {
        std::lock_guard<std::mutex> lock(sourcesLock_);
        --sourcesRunning_;
        ++sourcesEnded_;
        last = sourcesRunning_ == 0;
    }
    sourceEnded_.notify_all();
    if (!last) return;
    bool unfinished;
    {
        std::lock_guard<std::mutex> lock(mapLock_);
        unfinished = !units_.AllDone() && !writeFailed_;
    }
    // Every other source has ended, so this is the last callback of the run.
    if (unfinished) Report(DownloadNoSource, DoneBytes());
}

void DownloadSession::WaitForFirstSourceEnd() {
    std::unique_lock<std::mutex> lock(sourcesLock_);
    sourceEnded_.wait(lock, [this] { return sourcesEnded_ > 0; });
}

int DownloadSession::SourcesRunning() {
    std::lock_guard<std::mutex> lock(sourcesLock_);
    return sourcesRunning_;
}

int32_t DownloadSession::DoneBytes() {
    std::lock_guard<std::mutex> lock(progressLock_);
    return doneBytes_;
}

void DownloadSession::Report(int32_t status, int32_t done) {
    if (limits_.abandoned && limits_.abandoned()) return;  // a newer run owns the display
    if (task_.callback != nullptr) task_.callback(status, done, task_.totalSize, task_.userData);
}

}  // namespace kelo
