#include "net/multi_downloader.h"

#include "net/debug_output.h"
#include "net/download_session.h"
#include "net/file_check.h"
#include "net/http_client.h"
#include "net/progress_record.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>
#include <system_error>

namespace kelo {

namespace {

// Receives the bytes of one span request and writes each unit as soon as it
// is complete, so a long request keeps the progress and the record current.
class SpanReceiver {
public:
    SpanReceiver(DownloadSession& session, std::vector<DownloadUnit>& span) : session_(session), span_(span) {
        int32_t longest = 0;
        for (const DownloadUnit& unit : span) longest = std::max(longest, unit.length);
        buffer_.reset(new (std::nothrow) char[static_cast<size_t>(longest) + 1]);
    }

    bool ready() const { return buffer_ != nullptr; }
    bool writeFailed() const { return writeFailed_; }
    // The transfer was ended on purpose: the download is over, or every unit
    // still to come was written by other sources meanwhile.
    bool stoppedEarly() const { return stoppedEarly_; }

    bool Consume(const char* data, size_t size) {
        while (size > 0) {
            if (next_ >= span_.size()) return false;  // beyond the span: refused by the client anyway
            DownloadUnit& unit = span_[next_];
            const size_t take = std::min(size, static_cast<size_t>(unit.length) - filled_);
            std::memcpy(buffer_.get() + filled_, data, take);
            filled_ += take;
            data += take;
            size -= take;
            if (filled_ < static_cast<size_t>(unit.length)) continue;
            if (!Finish(unit)) return false;
        }
        return true;
    }

private:
    bool Finish(DownloadUnit& unit) {
        buffer_[unit.length] = '\0';
        unit.data.reset(buffer_.release());
        unit.state = UnitDone;
        const DownloadSession::WriteResult result = session_.WriteDownloadUnit(unit);
        buffer_.reset(unit.data.release());
        filled_ = 0;
        ++next_;
        if (result == DownloadSession::WriteResult::Failed) {
            writeFailed_ = true;
            return false;
        }
        if (result == DownloadSession::WriteResult::Written) session_.AddDownloadedBytes(unit.length);
        if (next_ < span_.size() && (session_.Stopped() || session_.SpanDone(span_, next_))) {
            stoppedEarly_ = true;
            return false;
        }
        return true;
    }

    DownloadSession& session_;
    std::vector<DownloadUnit>& span_;
    std::unique_ptr<char[]> buffer_;
    size_t next_ = 0;
    size_t filled_ = 0;
    bool writeFailed_ = false;
    bool stoppedEarly_ = false;
};

void DownloadThread(std::shared_ptr<DownloadSession> session, std::string url,
                    MultiDownloader::Options options) {
    HttpClient client;  // mirrors are unverified: their bytes are checked by MD5
    client.SetStallSeconds(options.stallSeconds);
    client.SetSpeedFloor(options.floorBytesPerSecond, options.stallSeconds);
    client.SetKeepConnection(true);
    DownloadSession* shared = session.get();
    client.SetAbortCheck([shared] { return shared->Stopped(); });
    std::vector<DownloadUnit> span;
    for (;;) {
        if (!session->GetDownloadSpan(options.spanUnits < 1 ? 1 : options.spanUnits, span)) {
            DebugOutput("GetDownloadUnit fail  break \r\n");
            break;
        }
        int64_t length = 0;
        for (const DownloadUnit& unit : span) length += unit.length;
        SpanReceiver receiver(*session, span);
        int32_t received = 0;
        const bool ok = receiver.ready() && client.GetRangeStreamed(
                                                url, span.front().offset, static_cast<int32_t>(length),
                                                [&receiver](const char* data, size_t size) {
                                                    return receiver.Consume(data, size);
                                                },
                                                received);
        if (receiver.writeFailed()) {
            session->ReportWriteFailure();
            break;
        }
        if (receiver.stoppedEarly()) continue;
        if (!ok || received != length) {
            // This source is given up; its units are finished by the others.
            DebugOutput("GetDownloadUnit get failed  break \r\n");
            break;
        }
    }
    session->SourceEnded();
}

}  // namespace

MultiDownloader::MultiDownloader() : MultiDownloader(Options()) {}
MultiDownloader::MultiDownloader(Options options) : options_(options) {}

MultiDownloader::~MultiDownloader() {
    for (std::thread& thread : threads_) thread.join();
}

int MultiDownloader::SourcesRunning() const {
    return session_ ? session_->SourcesRunning() : 0;
}

bool MultiDownloader::Download(const DownloadTask& task) {
    assert(!session_ && "one task per downloader");
    auto report = [this, &task](int32_t status, int32_t done) {
        if (options_.abandoned && options_.abandoned()) return;
        if (task.callback != nullptr) task.callback(status, done, task.totalSize, task.userData);
    };

    // Units a previous run wrote and recorded; only a record of this very
    // download, with a file that still holds them, counts.
    std::vector<bool> resumed;
    const bool resuming =
        options_.resume && !task.expectedMd5.empty() && !task.targetPath.empty() &&
        LoadResumableUnits(task.targetPath, RecordKey{task.totalSize, task.unitSize, task.expectedMd5},
                           resumed);
    if (resuming && std::find(resumed.begin(), resumed.end(), false) == resumed.end()) {
        // Nothing left to fetch: the final check decides at once.
        report(FinishDownload(task), task.totalSize);
        return true;
    }

    // An empty file can never be a valid target, whatever its digest.
    if (!resuming && !task.expectedMd5.empty() && task.totalSize >= 1) {
        switch (CheckFile(task.targetPath, task.totalSize, task.expectedMd5)) {
            case FileCheck::Ok:
                std::remove(ProgressRecordPath(task.targetPath).c_str());  // of an earlier attempt
                report(DownloadProgress, task.totalSize);
                return true;
            case FileCheck::BadSize:
            case FileCheck::BadMd5:
                std::remove(task.targetPath.c_str());
                break;
            case FileCheck::Missing:
                break;
        }
    }

    if (task.totalSize < 1 || task.unitSize < 1 || task.sourceUrls.empty() || task.targetPath.empty()) {
        report(DownloadInvalidTask, task.totalSize);
        return false;
    }

    DownloadTask copy = task;
    if (copy.sourceUrls.size() > kMaxSources) copy.sourceUrls.resize(kMaxSources);
    DownloadSession::Limits limits;
    limits.writeAttempts = options_.writeAttempts < 1 ? 1 : options_.writeAttempts;
    limits.writeRetryMs = options_.writeRetryMs;
    const int sources = static_cast<int>(copy.sourceUrls.size());
    limits.abandoned = options_.abandoned;
    session_ = std::make_shared<DownloadSession>(copy, sources, limits);
    if (resuming) session_->ResumeFrom(resumed);
    session_->StartRecord();

    for (const std::string& url : session_->task().sourceUrls) {
        try {
            threads_.emplace_back(DownloadThread, session_, url, options_);
        } catch (const std::system_error&) {
            // Only started threads are waited for; a source without a thread
            // counts as ended at once.
            session_->SourceEnded();
            continue;
        }
        // Earlier sources take the first units before the next one starts.
        if (options_.staggerMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options_.staggerMs));
    }
    session_->WaitForFirstSourceEnd();
    return true;
}

}  // namespace kelo
