#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace kelo {

// Stages of the download page.
enum Stage : int {
    StageDownloading = 0,
    StageInstalling = 1,
    StageInstalled = 2,
    StageFailed = 3,
};

// What the downloaded full installer was verified against. The hand-off
// checks the file against it once more, through a handle nobody can write
// through, before anything is started.
struct ExpectedInstaller {
    int64_t size = 0;  // 0: unknown
    std::string md5;   // lower-case hexadecimal; empty: unknown
};

// What the install worker, the download callback and the installer hand-off
// ask of the install window. The window owns its controls on the UI thread:
// every request made from another thread is carried there (posted messages),
// so the calls below may come from any thread and never block on the UI.
class IInstallView {
public:
    virtual ~IInstallView() = default;

    // Shows one of the four stages; `text` is used by StageFailed only.
    virtual void ShowStage(int stage, const std::wstring& text) = 0;
    // Percent of the whole bar, 0 to 100.
    virtual void ShowProgress(int percent) = 0;
    // The value the bar holds (or will hold once pending requests are applied).
    virtual int ProgressValue() const = 0;
    // Text of the `download_tip` label.
    virtual void SetDownloadTip(const std::wstring& text) = 0;

    // Path of the downloaded full installer; written by the worker before the
    // download starts, read by the UI thread once the download is complete.
    virtual void SetInstallerPath(const std::wstring& path) = 0;
    virtual std::wstring InstallerPath() const = 0;

    // Set by the worker together with the path. Not pure, so that views that
    // only keep the path still build; the hand-off then checks only that the
    // copy it starts holds the bytes it read from the download.
    virtual void SetExpectedInstaller(const ExpectedInstaller& expected) {
        std::lock_guard<std::mutex> lock(expectedLock_);
        expected_ = expected;
    }
    virtual ExpectedInstaller ExpectedInstallerFile() const {
        std::lock_guard<std::mutex> lock(expectedLock_);
        return expected_;
    }

    // Posts WM_DOWNLOAD_COMPLETE to the window (never sends it).
    virtual void PostDownloadComplete() = 0;

    // State the hand-off reads on the UI thread.
    virtual std::wstring InstallFolder() const = 0;  // text of `install_path`
    virtual bool ShortcutSelected() const = 0;
    virtual bool AutorunSelected() const = 0;
    virtual uintptr_t WindowHandle() const = 0;  // the HWND, for /call_wnd

private:
    mutable std::mutex expectedLock_;
    ExpectedInstaller expected_;
};

}  // namespace kelo
