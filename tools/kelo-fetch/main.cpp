// kelo-fetch: one segmented multi-mirror download from the command line, with
// the installer's downloader, its checks and its progress record.
//
//   kelo-fetch --size N --md5 HEX --out PATH [--unit BYTES] [--stall SECONDS] [--no-resume] URL...
//
// On a terminal it shows one live progress line; otherwise it prints every
// progress callback as "status done total" on its own line (for scripts and
// tests). The plain-language result goes to stderr. Exit code 0 only when
// the file is complete and verified, 1 on any failure or bad arguments.
#include "net/download_task.h"
#include "net/http_client.h"
#include "net/multi_downloader.h"
#include "net/progress_record.h"

#include <curl/curl.h>

#ifdef _WIN32
#include <io.h>
#define KELO_ISATTY _isatty
#define KELO_FILENO _fileno
#else
#include <unistd.h>
#define KELO_ISATTY isatty
#define KELO_FILENO fileno
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char kUsage[] =
    "usage: kelo-fetch --size N --md5 HEX --out PATH [options] URL...\n"
    "\n"
    "Downloads one file from every URL at once (each a mirror of the same file) in\n"
    "byte ranges, then checks its size and MD5. An interrupted download resumes\n"
    "where it stopped: PATH.parts records the units already written.\n"
    "\n"
    "  --size N         size of the file in bytes\n"
    "  --md5 HEX        expected MD5, 32 lower-case hexadecimal characters\n"
    "  --out PATH       file to write\n"
    "  --unit BYTES     bytes per range request (default 512000)\n"
    "  --stall SECONDS  a mirror sending nothing, or under 1 KiB/s, this long is\n"
    "                   dropped (default 60)\n"
    "  --no-resume      ignore a progress record and start over\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 when the file is complete and verified, 1 otherwise.\n";

struct Run {
    std::mutex lock;
    bool live = false;  // one redrawn line on a terminal
    const kelo::MultiDownloader* downloader = nullptr;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDraw;
    int32_t resumedBytes = 0;
    int32_t lastStatus = -1;
    int32_t lastDone = 0;
    std::atomic<bool> verified{false};
    std::atomic<bool> failed{false};
};

double Mib(double bytes) {
    return bytes / 1048576.0;
}

void DrawLine(Run& run, int32_t done, int32_t total) {
    const double seconds = std::chrono::duration<double>(Clock::now() - run.start).count();
    const double rate = seconds > 0 ? Mib(done - run.resumedBytes) / seconds : 0.0;
    const int sources = run.downloader != nullptr ? run.downloader->SourcesRunning() : 0;
    std::printf("\r%5.1f %%  %.1f / %.1f MiB  %.1f MiB/s  %d source%s working   ",
                total > 0 ? 100.0 * done / total : 0.0, Mib(done), Mib(total), rate, sources,
                sources == 1 ? "" : "s");
    std::fflush(stdout);
}

void OnProgress(int32_t status, int32_t done, int32_t total, void* userData) {
    auto* run = static_cast<Run*>(userData);
    if (status != kelo::DownloadProgress) {
        run->failed = true;
    } else if (done == total) {
        run->verified = true;
    }
    std::lock_guard<std::mutex> lock(run->lock);
    run->lastStatus = status;
    if (done > run->lastDone) run->lastDone = done;
    if (!run->live) {
        std::printf("%d %d %d\n", status, done, total);
        std::fflush(stdout);
        return;
    }
    // Callbacks may arrive out of order; the line shows the highest count.
    const auto now = Clock::now();
    if (status == kelo::DownloadProgress && done != total &&
        now - run->lastDraw < std::chrono::milliseconds(100))
        return;
    run->lastDraw = now;
    DrawLine(*run, run->lastDone, total);
}

bool ParseInt(const char* text, int32_t& value) {
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < 0 || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

int BadArguments(const char* why) {
    std::fprintf(stderr, "kelo-fetch: %s\n%s", why, kUsage);
    return 1;
}

bool IsMd5Text(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

void PrintResult(const Run& run, const kelo::DownloadTask& task) {
    const double seconds = std::chrono::duration<double>(Clock::now() - run.start).count();
    const std::string& path = task.targetPath;
    switch (run.lastStatus) {
        case kelo::DownloadProgress:
            if (run.verified) {
                std::fprintf(stderr, "verified: %s (%d bytes, MD5 %s) in %.1f s\n", path.c_str(),
                             task.totalSize, task.expectedMd5.c_str(), seconds);
            } else {
                std::fprintf(stderr, "failed: the download stopped at %d of %d bytes; run again to resume\n",
                             run.lastDone, task.totalSize);
            }
            break;
        case kelo::DownloadBadMd5:
            std::fprintf(stderr,
                         "failed: MD5 check: the finished file's MD5 is not %s (a mirror sent wrong bytes); "
                         "the file and its progress record were removed, so the next run starts over\n",
                         task.expectedMd5.c_str());
            break;
        case kelo::DownloadBadSize:
            std::fprintf(stderr,
                         "failed: size check: %s is not %d bytes long after the last unit was written\n",
                         path.c_str(), task.totalSize);
            break;
        case kelo::DownloadInvalidTask:
            std::fprintf(stderr,
                         "failed: the download was refused (size and unit size must be at least 1)\n");
            break;
        case kelo::DownloadNoSource:
            std::fprintf(
                stderr,
                "failed: every mirror failed (refused, broken, wrong answer or too slow) with %d of %d "
                "bytes downloaded; they are kept in %s, run again to resume\n",
                run.lastDone, task.totalSize, path.c_str());
            break;
        case kelo::DownloadWriteFailed:
            std::fprintf(stderr, "failed: cannot write %s\n", path.c_str());
            break;
        default:
            std::fprintf(stderr, "failed: no mirror delivered anything\n");
            break;
    }
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
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--no-resume") {
            options.resume = false;
        } else if (arg == "--size" && hasValue) {
            if (!ParseInt(argv[++i], task.totalSize) || task.totalSize < 1)
                return BadArguments("--size needs a number of bytes of at least 1");
            haveSize = true;
        } else if (arg == "--unit" && hasValue) {
            if (!ParseInt(argv[++i], task.unitSize) || task.unitSize < 1)
                return BadArguments("--unit needs a number of bytes of at least 1");
        } else if (arg == "--stall" && hasValue) {
            int32_t seconds = 0;
            if (!ParseInt(argv[++i], seconds) || seconds < 1)
                return BadArguments("--stall needs a number of seconds of at least 1");
            options.stallSeconds = seconds;
        } else if (arg == "--md5" && hasValue) {
            task.expectedMd5 = argv[++i];
        } else if (arg == "--out" && hasValue) {
            task.targetPath = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            return BadArguments(("unknown option or missing value: " + arg).c_str());
        } else {
            task.sourceUrls.push_back(arg);
        }
    }
    if (!haveSize) return BadArguments("--size is missing");
    if (!IsMd5Text(task.expectedMd5)) return BadArguments("--md5 needs 32 lower-case hexadecimal characters");
    if (task.targetPath.empty()) return BadArguments("--out is missing");
    if (task.sourceUrls.empty()) return BadArguments("no URL given");
    if (task.sourceUrls.size() > kelo::MultiDownloader::kMaxSources)
        std::fprintf(stderr, "kelo-fetch: only the first %zu URLs are used\n",
                     kelo::MultiDownloader::kMaxSources);

    kelo::HttpClient::GlobalInit(CURL_GLOBAL_ALL);
    Run run;
    run.live = KELO_ISATTY(KELO_FILENO(stdout)) != 0;
    task.callback = &OnProgress;
    task.userData = &run;

    if (options.resume) {
        std::vector<bool> done;
        if (kelo::LoadResumableUnits(task.targetPath, {task.totalSize, task.unitSize, task.expectedMd5},
                                     done)) {
            int32_t units = 0;
            for (size_t i = 0; i < done.size(); ++i) {
                if (!done[i]) continue;
                const int64_t offset = static_cast<int64_t>(i) * task.unitSize;
                run.resumedBytes +=
                    static_cast<int32_t>(std::min<int64_t>(task.unitSize, task.totalSize - offset));
                ++units;
            }
            std::fprintf(stderr, "resuming: %d of %zu units are already in %s\n", units, done.size(),
                         task.targetPath.c_str());
        }
    }
    {
        kelo::MultiDownloader downloader(options);
        {
            std::lock_guard<std::mutex> lock(run.lock);
            run.downloader = &downloader;
        }
        downloader.Download(task);
    }  // every source thread has ended here
    if (run.live) std::printf("\n");
    std::fflush(stdout);
    PrintResult(run, task);
    return run.verified && !run.failed ? 0 : 1;
}
