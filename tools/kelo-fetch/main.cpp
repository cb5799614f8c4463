// kelo-fetch: runs one segmented multi-mirror download from the command line,
// for benchmarks and fault tests.
//
//   kelo-fetch --size N --md5 HEX --out PATH [--unit BYTES] [--stall SECONDS] URL...
//
// Prints every progress callback as "status done total" on its own line and
// exits 0 only when the file is complete and verified, 1 on any failure.
#include "net/download_task.h"
#include "net/http_client.h"
#include "net/multi_downloader.h"

#include <curl/curl.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::mutex printLock;
    std::atomic<bool> verified{false};
    std::atomic<bool> failed{false};
};

void OnProgress(int32_t status, int32_t done, int32_t total, void* userData) {
    auto* outcome = static_cast<Outcome*>(userData);
    if (status != kelo::DownloadProgress) {
        outcome->failed = true;
    } else if (done == total) {
        outcome->verified = true;
    }
    std::lock_guard<std::mutex> lock(outcome->printLock);
    std::printf("%d %d %d\n", status, done, total);
    std::fflush(stdout);
}

bool ParseInt(const char* text, int32_t& value) {
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < 0 || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kelo-fetch --size N --md5 HEX --out PATH [--unit BYTES] [--stall SECONDS] URL...\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    kelo::DownloadTask task;
    task.unitSize = 512000;
    kelo::MultiDownloader::Options options;
    bool haveSize = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--size" && hasValue) {
            if (!ParseInt(argv[++i], task.totalSize)) return Usage();
            haveSize = true;
        } else if (arg == "--unit" && hasValue) {
            if (!ParseInt(argv[++i], task.unitSize)) return Usage();
        } else if (arg == "--stall" && hasValue) {
            int32_t seconds = 0;
            if (!ParseInt(argv[++i], seconds)) return Usage();
            options.stallSeconds = seconds;
        } else if (arg == "--md5" && hasValue) {
            task.expectedMd5 = argv[++i];
        } else if (arg == "--out" && hasValue) {
            task.targetPath = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            task.sourceUrls.push_back(arg);
        }
    }
    if (!haveSize || task.expectedMd5.empty() || task.targetPath.empty() || task.sourceUrls.empty())
        return Usage();

    kelo::HttpClient::GlobalInit(CURL_GLOBAL_ALL);
    Outcome outcome;
    task.callback = &OnProgress;
    task.userData = &outcome;
    {
        kelo::MultiDownloader downloader(options);
        if (!downloader.Download(task)) return 1;
    }  // every source thread has ended here
    return outcome.verified && !outcome.failed ? 0 : 1;
}
