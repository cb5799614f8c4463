#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/install_view.h"
#include "net/host_probe.h"

namespace kelo {

// Exit codes of a worker run; nothing reads them, they name the stage that
// ended the run.
enum WorkerCode : int {
    WorkerOk = 0,
    WorkerNoVersionInfo = -1,
    WorkerBadVersionInfo = -2,
    WorkerNoDownloadInfo = -3,
    WorkerBadDownloadInfo = -4,
    WorkerDownloadFailed = -5,
};

// What a worker run talks to besides the window; tests point it elsewhere.
struct WorkerEnvironment {
    std::vector<std::string> hosts;  // the update host list
    HostProbe::Options probe;        // wait, join and certificate settings
    std::string caBundle;            // for the two document requests; empty: system store
    bool (*isWow64)() = nullptr;     // null: the running system's answer
    std::string tempFolder;          // with a trailing backslash; empty: GetTempPathA
};

WorkerEnvironment DefaultWorkerEnvironment();

// One run on the calling thread: probe, the two documents, the task, the
// download. Every failing stage is shown on the view. Returns a WorkerCode.
int RunInstallWorker(const std::shared_ptr<IInstallView>& view, const WorkerEnvironment& env);

// Starts a run on a new thread and returns at once. The view is shared, so
// it outlives the window if the run outlasts it.
bool StartInstallWorker(std::shared_ptr<IInstallView> view);

}  // namespace kelo
