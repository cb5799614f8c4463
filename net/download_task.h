#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// Outcome codes passed to a DownloadCallback.
enum DownloadStatus : int32_t {
    DownloadProgress = 0,     // a unit was written; done == total means complete
    DownloadBadMd5 = 1,       // complete, but the MD5 differs
    DownloadBadSize = 2,      // complete, but the file has another size
    DownloadInvalidTask = 3,  // the task was refused
    DownloadNoSource = 4,     // every source failed with units left
    DownloadWriteFailed = 5,  // a unit could not be written to the file
};

// Called from download threads (and from the caller's thread for the
// pre-check and a refused task); must be safe to enter from several threads.
using DownloadCallback = void (*)(int32_t status, int32_t done, int32_t total, void* userData);

struct DownloadTask {
    int32_t totalSize = 0;
    int32_t unitSize = 0;
    std::string expectedMd5;              // empty: no verification
    std::string targetPath;               // ANSI code page
    std::vector<std::string> sourceUrls;  // preference order, at most 64
    DownloadCallback callback = nullptr;
    void* userData = nullptr;
};

}  // namespace kelo
