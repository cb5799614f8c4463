#pragma once

#include "net/download_task.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace kelo {

class DownloadSession;

// Fetches one file from several mirrors at once in fixed-size byte ranges,
// one thread per source URL, and verifies its size and MD5 when the last
// unit is written. Each source keeps its connection (and TLS session) from
// one unit to the next. With an expected MD5, a progress record next to the
// target file lets a later download of the same file skip the units already
// written (see progress_record.h).
class MultiDownloader {
public:
    struct Options {
        int stallSeconds = 60;  // a mirror sending nothing this long is abandoned
        // A mirror moving a unit slower than this, averaged over windows of
        // stallSeconds, is abandoned like a failing one.
        int floorBytesPerSecond = 1024;
        int writeAttempts = 5;   // tries per unit write before status 5
        int writeRetryMs = 200;  // pause between two write attempts
        int staggerMs = 30;      // pause after starting each source thread
        // A source asks for up to this many consecutive units in one range
        // request (its share of the work left, so a slow source holds little),
        // and writes each unit as it arrives: on a link with a long round
        // trip, a request per unit would leave the connection idle between
        // units.
        int spanUnits = 8;
        bool resume = true;  // use a matching progress record
        // Polled by the sources; true makes them abort their transfers and
        // end, and silences the callback (a newer run has taken over).
        std::function<bool()> abandoned;
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

    // Source threads still fetching; safe from the callback.
    int SourcesRunning() const;

private:
    Options options_;
    std::shared_ptr<DownloadSession> session_;
    std::vector<std::thread> threads_;
};

}  // namespace kelo
