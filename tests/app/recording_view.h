#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/install_view.h"

namespace kelo {

// An install window stand-in that records every request, in order.
class RecordingView : public IInstallView {
public:
    struct Stage {
        int kind;
        std::wstring text;
    };

    void ShowStage(int stage, const std::wstring& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        stages_.push_back({stage, text});
    }
    void ShowProgress(int percent) override {
        std::lock_guard<std::mutex> lock(mutex_);
        progress_.push_back(percent);
    }
    int ProgressValue() const override {
        std::lock_guard<std::mutex> lock(mutex_);
        return progress_.empty() ? 0 : progress_.back();
    }
    void SetDownloadTip(const std::wstring& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tips_.push_back(text);
    }
    void SetInstallerPath(const std::wstring& path) override {
        std::lock_guard<std::mutex> lock(mutex_);
        installerPath_ = path;
    }
    std::wstring InstallerPath() const override {
        std::lock_guard<std::mutex> lock(mutex_);
        return installerPath_;
    }
    void PostDownloadComplete() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++completions_;
    }
    std::wstring InstallFolder() const override { return L""; }
    bool ShortcutSelected() const override { return false; }
    bool AutorunSelected() const override { return false; }
    uintptr_t WindowHandle() const override { return 0; }

    std::vector<Stage> Stages() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return stages_;
    }
    std::vector<int> Progress() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return progress_;
    }
    std::vector<std::wstring> Tips() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return tips_;
    }
    int Completions() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return completions_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Stage> stages_;
    std::vector<int> progress_;
    std::vector<std::wstring> tips_;
    std::wstring installerPath_;
    int completions_ = 0;
};

}  // namespace kelo
