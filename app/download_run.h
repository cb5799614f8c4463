#pragma once

#include <cstdint>
#include <functional>

namespace kelo {

// The claim of one worker run on the download step. Runs are numbered as
// they start; starting a run abandons every earlier one, whose download then
// aborts its transfers and reports nothing more. The download step itself
// is exclusive: both runs use the same target file, so a run waits there
// until the previous run's source threads have ended, which the abandonment
// makes prompt.
class DownloadRun {
public:
    // Call as the run starts (a click on install or retry).
    DownloadRun();
    // Releases the download step if it was taken.
    ~DownloadRun();
    DownloadRun(const DownloadRun&) = delete;
    DownloadRun& operator=(const DownloadRun&) = delete;

    // Blocks until no earlier run is downloading. The window's bar, tip and
    // InstallerPath are set only after this, so a late callback of an earlier
    // run cannot overwrite them.
    void TakeDownloadStep();

    // True once a newer run has started.
    bool Abandoned() const;
    // For MultiDownloader::Options::abandoned; valid while this run lives.
    std::function<bool()> AbandonedCheck() const;

private:
    uint64_t number_;
    bool holding_ = false;
};

}  // namespace kelo
