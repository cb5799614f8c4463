#pragma once

// The install window as the worker, the download threads and the hand-off
// see it (IInstallView). Requests from other threads are queued and the UI
// thread is woken (a posted message) to apply them to the controls; on the UI
// thread they are applied at once, after whatever is still queued. Once the
// window is gone (Detach) requests are dropped, so threads that outlive the
// window never reach it. Plain code: the wake-up and the thread test are
// handed in.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/install_view.h"

namespace kelo {

// What the UI thread applies; implemented by the install window.
class IInstallPage {
public:
    virtual ~IInstallPage() = default;
    virtual void ApplyStage(int stage, const std::wstring& text) = 0;
    virtual void ApplyProgress(int percent) = 0;
    virtual void ApplyDownloadTip(const std::wstring& text) = 0;
    virtual std::wstring InstallFolder() const = 0;
    virtual bool ShortcutSelected() const = 0;
    virtual bool AutorunSelected() const = 0;
};

struct BridgeHooks {
    std::function<bool()> onUiThread;        // is the caller the UI thread?
    std::function<void()> wake;              // have the UI thread call ApplyPending (posted, never sent)
    std::function<void()> downloadComplete;  // post WM_DOWNLOAD_COMPLETE
    uintptr_t window = 0;
};

class InstallViewBridge : public IInstallView {
public:
    InstallViewBridge(IInstallPage* page, BridgeHooks hooks);

    // UI thread: the window is going away; every later request is dropped.
    void Detach();
    // UI thread: applies the queued requests in the order they were made.
    void ApplyPending();

    void ShowStage(int stage, const std::wstring& text) override;
    void ShowProgress(int percent) override;
    int ProgressValue() const override;
    void SetDownloadTip(const std::wstring& text) override;
    void SetInstallerPath(const std::wstring& path) override;
    std::wstring InstallerPath() const override;
    void PostDownloadComplete() override;
    std::wstring InstallFolder() const override;
    bool ShortcutSelected() const override;
    bool AutorunSelected() const override;
    uintptr_t WindowHandle() const override;

private:
    struct Request {
        enum Kind { Stage, Progress, Tip } kind;
        int value;
        std::wstring text;
    };
    void Submit(Request request);

    mutable std::mutex lock_;
    IInstallPage* page_;  // null once detached; dereferenced on the UI thread only
    BridgeHooks hooks_;
    std::vector<Request> pending_;
    bool wakePosted_ = false;
    int progress_ = 0;  // the bar's value once the queue is applied
    std::wstring installerPath_;
};

}  // namespace kelo
