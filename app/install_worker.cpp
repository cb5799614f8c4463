#include "app/install_worker.h"

#include <windows.h>

#include "app/app_config.h"
#include "app/download_progress.h"
#include "app/download_run.h"
#include "app/system_services.h"
#include "app/update_protocol.h"
#include "net/http_client.h"
#include "net/multi_downloader.h"

namespace kelo {

namespace {

// Requests to the update service: their answers are trusted as they are, so
// the certificate and the host name are checked.
bool FetchDocument(const std::string& url, const WorkerEnvironment& env, std::string& body) {
    HttpClient client;
    client.SetVerifyPeer(true);
    if (!env.caBundle.empty()) client.SetCaBundle(env.caBundle);
    return client.Get(url, body);
}

// A run that a newer one has abandoned leaves the window to the newer run:
// its failure would otherwise replace the newer run's page.
int Fail(IInstallView& view, const DownloadRun& run, const wchar_t* text, int code) {
    if (!run.Abandoned()) view.ShowStage(StageFailed, text);
    return code;
}

std::string TempFolder(const WorkerEnvironment& env) {
    if (!env.tempFolder.empty()) return env.tempFolder;
    char buffer[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(buffer, length);
}

struct WorkerStart {
    std::shared_ptr<IInstallView> view;
    WorkerEnvironment env;
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    return static_cast<DWORD>(RunInstallWorker(start->view, start->env));
}

}  // namespace

WorkerEnvironment DefaultWorkerEnvironment() {
    WorkerEnvironment env;
    env.hosts = UpdateHostList();
    return env;
}

int RunInstallWorker(const std::shared_ptr<IInstallView>& viewPtr, const WorkerEnvironment& env) {
    IInstallView& view = *viewPtr;
    DownloadRun run;  // abandons the download of any earlier run

    std::string host;
    {
        HostProbe probe(env.hosts, env.probe);
        host = probe.GetHost();
        // Shown before the probe is destroyed: destruction waits for probe
        // threads still stuck on a host, which must not delay the text.
        if (host.empty()) return Fail(view, run, L"获取动态地址失败，请重试。", WorkerNoVersionInfo);
    }

    std::string body;
    if (!FetchDocument(VersionUrl(host), env, body)) {
        return Fail(view, run, L"获取版本信息失败，请重试。", WorkerNoVersionInfo);
    }
    VersionInfo version;
    if (!ParseVersionInfo(body, version))
        return Fail(view, run, L"解析版本信息失败，请重试。", WorkerBadVersionInfo);

    const bool wow64 = env.isWow64 != nullptr ? env.isWow64() : IsWow64();
    body.clear();
    if (!FetchDocument(DownloadInfoUrl(host, version, wow64), env, body)) {
        return Fail(view, run, L"获取下载信息失败，请重试。", WorkerNoDownloadInfo);
    }
    DownloadInfo info;
    if (!ParseDownloadInfo(body, info))
        return Fail(view, run, L"解析下载信息失败，请重试。", WorkerBadDownloadInfo);

    DownloadTask task;
    task.totalSize = info.size;
    task.unitSize = kDownloadUnitSize;
    task.expectedMd5 = info.md5;
    task.sourceUrls = info.sources;
    task.callback = &OnDownloadProgress;
    task.userData = viewPtr.get();

    // Taken before the display is set: once it is held, the previous run's
    // source threads have ended and no late callback of theirs can follow.
    run.TakeDownloadStep();
    if (run.Abandoned()) return WorkerOk;  // a newer run owns the window now
    view.ShowProgress(0);
    view.SetDownloadTip(DownloadTipText(0, info.size));

    const std::string folder = TempFolder(env);
    if (folder.empty()) {
        // Without the temporary folder the target would be a relative path in
        // whatever the current folder is: the task cannot be made.
        OnDownloadProgress(DownloadInvalidTask, 0, info.size, viewPtr.get());
        return Fail(view, run, L"下载安装文件失败，请重试。", WorkerDownloadFailed);
    }
    task.targetPath = folder + InstallerFileName(info.md5);
    view.SetInstallerPath(AnsiToWide(task.targetPath));
    view.SetExpectedInstaller({info.size, info.md5});

    bool accepted = false;
    {
        // Destroyed before the run ends: it waits for all source threads.
        MultiDownloader::Options options;
        options.abandoned = run.AbandonedCheck();
        MultiDownloader downloader(options);
        accepted = downloader.Download(task);
    }
    if (!accepted) return Fail(view, run, L"下载安装文件失败，请重试。", WorkerDownloadFailed);
    return WorkerOk;
}

bool StartInstallWorker(std::shared_ptr<IInstallView> view) {
    auto* start = new WorkerStart{std::move(view), DefaultWorkerEnvironment()};
    HANDLE thread = CreateThread(nullptr, 0, &WorkerThread, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    CloseHandle(thread);  // the run is never waited for
    return true;
}

}  // namespace kelo
