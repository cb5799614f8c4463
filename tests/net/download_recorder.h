#pragma once

#include "net/download_task.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace kelo::test {

// Collects every DownloadCallback call; safe to call from several threads.
class DownloadRecorder {
public:
    struct Call {
        int32_t status;
        int32_t done;
        int32_t total;
    };

    static void Callback(int32_t status, int32_t done, int32_t total, void* userData) {
        auto* self = static_cast<DownloadRecorder*>(userData);
        std::lock_guard<std::mutex> lock(self->lock_);
        self->calls_.push_back({status, done, total});
    }

    void Attach(DownloadTask& task) {
        task.callback = &DownloadRecorder::Callback;
        task.userData = this;
    }

    std::vector<Call> Calls() {
        std::lock_guard<std::mutex> lock(lock_);
        return calls_;
    }

    // Calls that end a download: a failure, or progress reaching the total.
    std::vector<Call> Final() {
        std::vector<Call> result;
        for (const Call& c : Calls()) {
            if (c.status != 0 || c.done == c.total) result.push_back(c);
        }
        return result;
    }

private:
    std::mutex lock_;
    std::vector<Call> calls_;
};

}  // namespace kelo::test
