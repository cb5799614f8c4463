// Runs one install worker against the compiled-in update host and prints
// every request it makes of the install window, so the update protocol and
// the download can be watched from a terminal.
#include <windows.h>

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/install_worker.h"
#include "app/system_proxy.h"
#include "app/system_services.h"
#include "net/http_client.h"

namespace {

void Print(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
              nullptr);
}

class ConsoleView : public kelo::IInstallView {
public:
    void ShowStage(int stage, const std::wstring& text) override {
        static const wchar_t* const names[] = {L"downloading", L"installing", L"installed", L"failed"};
        const wchar_t* name = stage >= 0 && stage <= 3 ? names[stage] : L"?";
        Print(kelo::FormatWide(L"stage: %s %s", name, text.c_str()));
        if (stage == kelo::StageFailed) failed_ = true;
    }
    void ShowProgress(int percent) override {
        progress_ = percent;
        Print(kelo::FormatWide(L"progress: %d%%", percent));
    }
    int ProgressValue() const override { return progress_; }
    void SetDownloadTip(const std::wstring& text) override { Print(L"download_tip: " + text); }
    void SetInstallerPath(const std::wstring& path) override {
        path_ = path;
        Print(L"installer path: " + path);
    }
    std::wstring InstallerPath() const override { return path_; }
    void PostDownloadComplete() override {
        complete_ = true;
        Print(L"download complete (WM_DOWNLOAD_COMPLETE)");
    }
    std::wstring InstallFolder() const override { return std::wstring(); }
    bool ShortcutSelected() const override { return true; }
    bool AutorunSelected() const override { return false; }
    uintptr_t WindowHandle() const override { return 0; }

    bool Succeeded() const { return complete_ && !failed_; }

private:
    std::atomic<int> progress_{0};
    std::atomic<bool> failed_{false};
    std::atomic<bool> complete_{false};
    std::wstring path_;
};

}  // namespace

int wmain() {
    kelo::HttpClient::GlobalInit(CURL_GLOBAL_ALL);
    kelo::HttpClient::SetProxyResolver(kelo::MakeSystemProxyResolver());  // as the installer does
    auto view = std::make_shared<ConsoleView>();
    const kelo::WorkerEnvironment env = kelo::DefaultWorkerEnvironment();
    Print(L"update host: " + kelo::AnsiToWide(env.hosts.front()));
    const int code = kelo::RunInstallWorker(view, env);
    Print(kelo::FormatWide(L"worker ended with code %d", code));
    return view->Succeeded() ? 0 : 1;
}
