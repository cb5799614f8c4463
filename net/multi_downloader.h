#pragma once

#include "net/download_task.h"

#include <memory>
#include <thread>
#include <vector>

namespace kelo {

class DownloadSession;

// Fetches one file from several mirrors at once in fixed-size byte ranges,
// one thread per source URL, and verifies its size and MD5 when the last
// unit is written.
class MultiDownloader {
public:
    struct Options {
        int stallSeconds = 60;   // a mirror sending nothing this long is abandoned
        int writeAttempts = 5;   // tries per unit write before status 5
        int writeRetryMs = 200;  // pause between two write attempts
        int staggerMs = 30;      // pause after starting each source thread
    };
    // At most this many sources are used; further URLs are ignored.
    static constexpr size_t kMaxSources = 64;

    MultiDownloader();
    explicit MultiDownloader(Options options);
    // Waits until every source thread has ended.
    ~MultiDownloader();
    MultiDownloader(const MultiDownloader&) = delete;
    MultiDownloader& operator=(const MultiDownloader&) = delete;

    // False only for an invalid task (after status 3). Returns once the first
    // source thread has ended, or at once when the target is already complete
    // and verified. One task per downloader.
    bool Download(const DownloadTask& task);

private:
    Options options_;
    std::shared_ptr<DownloadSession> session_;
    std::vector<std::thread> threads_;
};

}  // namespace kelo
