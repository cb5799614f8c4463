#include "app/install_view_bridge.h"

#include <utility>

namespace kelo {

InstallViewBridge::InstallViewBridge(IInstallPage* page, BridgeHooks hooks)
    : page_(page), hooks_(std::move(hooks)) {}

void InstallViewBridge::Detach() {
    std::lock_guard<std::mutex> guard(lock_);
    page_ = nullptr;
    pending_.clear();
}

void InstallViewBridge::ApplyPending() {
    std::vector<Request> requests;
    IInstallPage* page = nullptr;
    {
        std::lock_guard<std::mutex> guard(lock_);
        requests.swap(pending_);
        wakePosted_ = false;
        page = page_;
    }
    // Applied outside the lock: a control change may paint, and painting must
    // not wait for a download thread.
    if (page == nullptr) return;
    for (const Request& r : requests) {
        switch (r.kind) {
            case Request::Stage:
                page->ApplyStage(r.value, r.text);
                break;
            case Request::Progress:
                page->ApplyProgress(r.value);
                break;
            case Request::Tip:
                page->ApplyDownloadTip(r.text);
                break;
        }
    }
}

void InstallViewBridge::Submit(Request request) {
    const bool here = hooks_.onUiThread && hooks_.onUiThread();
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (page_ == nullptr) return;
        if (request.kind == Request::Progress) progress_ = request.value;
        pending_.push_back(std::move(request));
        if (!here && !wakePosted_) {
            wakePosted_ = true;
            wake = true;
        }
    }
    if (here) {
        ApplyPending();
    } else if (wake && hooks_.wake) {
        hooks_.wake();
    }
}

void InstallViewBridge::ShowStage(int stage, const std::wstring& text) {
    Submit({Request::Stage, stage, text});
}

void InstallViewBridge::ShowProgress(int percent) {
    Submit({Request::Progress, percent, std::wstring()});
}

int InstallViewBridge::ProgressValue() const {
    std::lock_guard<std::mutex> guard(lock_);
    return progress_;
}

void InstallViewBridge::SetDownloadTip(const std::wstring& text) {
    Submit({Request::Tip, 0, text});
}

void InstallViewBridge::SetInstallerPath(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(lock_);
    installerPath_ = path;
}

std::wstring InstallViewBridge::InstallerPath() const {
    std::lock_guard<std::mutex> guard(lock_);
    return installerPath_;
}

void InstallViewBridge::PostDownloadComplete() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (page_ == nullptr) return;
    }
    if (hooks_.downloadComplete) hooks_.downloadComplete();
}

// The hand-off reads these on the UI thread only.
std::wstring InstallViewBridge::InstallFolder() const {
    return page_ != nullptr ? page_->InstallFolder() : std::wstring();
}

bool InstallViewBridge::ShortcutSelected() const {
    return page_ != nullptr && page_->ShortcutSelected();
}

bool InstallViewBridge::AutorunSelected() const {
    return page_ != nullptr && page_->AutorunSelected();
}

uintptr_t InstallViewBridge::WindowHandle() const {
    return hooks_.window;
}

}  // namespace kelo
