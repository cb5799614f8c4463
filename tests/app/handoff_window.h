#pragma once

// A real (hidden) window standing in for the install window during hand-off
// tests: it answers IInstallView by recording every stage and progress
// request in order, and passes WM_COPYDATA to the installer report handler,
// so another process's reports travel through real window messages.

#include <windows.h>

#include <string>
#include <vector>

#include "app/install_view.h"

namespace kelo::testing {

class HandoffWindow : public IInstallView {
public:
    // One recorded request: a stage (with its text) or a progress value.
    struct Event {
        enum Kind { Stage, Progress } kind;
        int value;
        std::wstring text;

        bool operator==(const Event& other) const {
            return kind == other.kind && value == other.value && text == other.text;
        }
    };
    static Event StageEvent(int stage, const std::wstring& text = L"") { return {Event::Stage, stage, text}; }
    static Event ProgressEvent(int percent) { return {Event::Progress, percent, L""}; }

    HandoffWindow();
    ~HandoffWindow() override;
    HandoffWindow(const HandoffWindow&) = delete;
    HandoffWindow& operator=(const HandoffWindow&) = delete;

    HWND Handle() const { return window_; }
    // GetLastError of a failed CreateWindowEx (Wine needs a working X display).
    DWORD CreateError() const { return createError_; }
    const std::vector<Event>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }
    // True once a report of success or failure has arrived.
    bool Finished() const;

    void SetInstallFolder(const std::wstring& folder) { installFolder_ = folder; }
    void SetOptions(bool shortcut, bool autorun) {
        shortcut_ = shortcut;
        autorun_ = autorun;
    }

    void ShowStage(int stage, const std::wstring& text) override {
        events_.push_back(StageEvent(stage, text));
    }
    void ShowProgress(int percent) override {
        events_.push_back(ProgressEvent(percent));
        progress_ = percent;
    }
    int ProgressValue() const override { return progress_; }
    void SetDownloadTip(const std::wstring&) override {}
    void SetInstallerPath(const std::wstring& path) override { installerPath_ = path; }
    std::wstring InstallerPath() const override { return installerPath_; }
    void PostDownloadComplete() override {}
    std::wstring InstallFolder() const override { return installFolder_; }
    bool ShortcutSelected() const override { return shortcut_; }
    bool AutorunSelected() const override { return autorun_; }
    uintptr_t WindowHandle() const override { return reinterpret_cast<uintptr_t>(window_); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    DWORD createError_ = ERROR_SUCCESS;
    std::vector<Event> events_;
    int progress_ = 0;
    std::wstring installerPath_;
    std::wstring installFolder_;
    bool shortcut_ = true;
    bool autorun_ = false;
};

std::ostream& operator<<(std::ostream& out, const HandoffWindow::Event& event);

}  // namespace kelo::testing
