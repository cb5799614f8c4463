#include "net/download_session.h"

#include "net/file_check.h"
#include "net/file_ops.h"

#include <cassert>
#include <chrono>
#include <thread>

namespace kelo {

DownloadSession::DownloadSession(const DownloadTask& task, int sourceCount, Limits limits)
    : task_(task), limits_(limits), sourcesRunning_(sourceCount) {
    assert(task.totalSize >= 1 && task.unitSize >= 1 && sourceCount >= 1);
    std::lock_guard<std::mutex> lock(mapLock_);
    units_.Split(task.totalSize, task.unitSize);
}

bool DownloadSession::GetDownloadUnit(DownloadUnit& out) {
    std::lock_guard<std::mutex> lock(mapLock_);
    if (writeFailed_) return false;
    return units_.Take(out);
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
            return WriteResult::Written;
        }
        // A locked or full disk may clear up; the lock is held meanwhile so
        // the writes stay serialised, but only for a bounded time.
        if (attempt < limits_.writeAttempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(limits_.writeRetryMs));
    }
    writeFailed_ = true;
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
    if (done == task_.totalSize && !task_.expectedMd5.empty()) {
        switch (CheckFile(task_.targetPath, task_.totalSize, task_.expectedMd5)) {
            case FileCheck::Ok:
                status = DownloadProgress;
                break;
            case FileCheck::BadMd5:
                status = DownloadBadMd5;
                break;
            // A file that cannot be reopened is not verified: it is not
            // reported as complete.
            case FileCheck::Missing:
            case FileCheck::BadSize:
                status = DownloadBadSize;
                break;
        }
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

int32_t DownloadSession::DoneBytes() {
    std::lock_guard<std::mutex> lock(progressLock_);
    return doneBytes_;
}

void DownloadSession::Report(int32_t status, int32_t done) {
    if (task_.callback != nullptr) task_.callback(status, done, task_.totalSize, task_.userData);
}

}  // namespace kelo
