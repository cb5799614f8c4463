#include "app/download_run.h"

#include <windows.h>

#include <atomic>

namespace kelo {

namespace {

// Both trivially destructible on purpose: source threads of an abandoned run
// may still use them while the process exits.
SRWLOCK g_downloadStep = SRWLOCK_INIT;
std::atomic<uint64_t> g_latestRun{0};

}  // namespace

DownloadRun::DownloadRun() : number_(++g_latestRun) {}

DownloadRun::~DownloadRun() {
    if (holding_) ReleaseSRWLockExclusive(&g_downloadStep);
}

void DownloadRun::TakeDownloadStep() {
    if (holding_) return;
    AcquireSRWLockExclusive(&g_downloadStep);
    holding_ = true;
}

bool DownloadRun::Abandoned() const {
    return g_latestRun.load() != number_;
}

std::function<bool()> DownloadRun::AbandonedCheck() const {
    const uint64_t number = number_;
    return [number] { return g_latestRun.load() != number; };
}

}  // namespace kelo
