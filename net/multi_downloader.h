#pragma once

#include "net/download_task.h"

#include <memory>

namespace kelo {

// Fetches one file from several mirrors at once in fixed-size byte ranges,
// one thread per source URL, and verifies its size and MD5 when the last
// unit is written.
class MultiDownloader {
public:
    MultiDownloader();
    // Waits until every source thread has ended.
    ~MultiDownloader();
    MultiDownloader(const MultiDownloader&) = delete;
    MultiDownloader& operator=(const MultiDownloader&) = delete;

    // False only for an invalid task (after status 3). Returns once the first
    // source thread has ended, or at once when the target is already complete
    // and verified.
    bool Download(const DownloadTask& task);

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace kelo
