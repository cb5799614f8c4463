#pragma once

#include "net/download_task.h"
#include "net/unit_map.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace kelo {

// The final size and MD5 check of a finished download, with the progress
// record finished first: deleted whatever the verdict (a record naming every
// unit of a bad file would fail every later run the same way), and the file
// deleted too when its digest is wrong, so that the next run starts clean.
// Returns the status to report: 0, DownloadBadMd5 or DownloadBadSize.
int32_t FinishDownload(const DownloadTask& task);

// The shared state of one segmented download: the task, the unit map under
// the map lock (which also serialises every file write and the progress
// record), the done-byte counter under the progress lock, and the count of
// running source threads. The two locks are never held together, and
// callbacks run with neither.
class DownloadSession {
public:
    struct Limits {
        int writeAttempts = 5;   // a unit write is tried at most this often
        int writeRetryMs = 200;  // pause between two attempts
        // True once the caller has given the download up (a newer run took
        // over): transfers in flight are aborted and nothing more is reported.
        std::function<bool()> abandoned;
    };

    enum class WriteResult {
        Written,  // first copy of the unit, now on disk
        Skipped,  // unit unknown or already written by another source
        Failed,   // every attempt failed; the download is given up
    };

    // The task must be valid (sizes >= 1, a path, at least one source).
    DownloadSession(const DownloadTask& task, int sourceCount, Limits limits);
    DownloadSession(const DownloadSession&) = delete;
    DownloadSession& operator=(const DownloadSession&) = delete;

    // Next unit to fetch: the first pending one, else the highest taken one
    // again. False once every unit is done or a write has failed for good.
    bool GetDownloadUnit(DownloadUnit& out);

    // Consecutive pending units for one request: the work left is shared
    // out among the running sources, at most `maxUnits` at a time, so that a
    // slow source does not hold much. When nothing is pending, one taken
    // unit again, as GetDownloadUnit. False as GetDownloadUnit.
    bool GetDownloadSpan(int maxUnits, std::vector<DownloadUnit>& out);
    // True when every unit of `span` from index `from` on is done.
    bool SpanDone(const std::vector<DownloadUnit>& span, size_t from);

    // Writes the unit in place under the map lock and marks it done. Only the
    // first copy of a unit is written.
    WriteResult WriteDownloadUnit(const DownloadUnit& unit);

    // Counts a written unit and reports progress; the call that completes the
    // file checks its size and MD5 and sends the final status.
    void AddDownloadedBytes(int32_t count);

    // Status 5, once, for the write that failed for good.
    void ReportWriteFailure();

    // Every source thread calls this as it ends (or when it could not be
    // started). The last one reports status 4 when units were left undone
    // and no other failure was reported.
    void SourceEnded();

    // Blocks until at least one source has ended.
    void WaitForFirstSourceEnd();

    // Before the sources start: units a progress record names count as done
    // and written. Then writes the record afresh (when the task has an MD5),
    // replacing whatever record of another download lay there.
    void ResumeFrom(const std::vector<bool>& done);
    void StartRecord();

    // True once the final verdict was sent, a write failed for good, or the
    // caller abandoned the download: sources take no more units and abort
    // their transfers.
    bool Stopped() const;

    const DownloadTask& task() const { return task_; }
    int32_t DoneBytes();
    int SourcesRunning();

private:
    void Report(int32_t status, int32_t done);
    // Under the map lock.
    void WriteRecord();

    const DownloadTask task_;
    const Limits limits_;

    std::mutex progressLock_;
    int32_t doneBytes_ = 0;

    std::mutex mapLock_;
    UnitMap units_;
    bool writeFailed_ = false;
    std::vector<bool> recordBits_;  // empty: no record is kept
    std::atomic<bool> finished_{false};

    std::mutex sourcesLock_;
    std::condition_variable sourceEnded_;
    int sourcesRunning_;
    int sourcesEnded_ = 0;
};

}  // namespace kelo
