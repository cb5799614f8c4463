#include "app/installer_handoff.h"

#include <vector>

#include "app/admin_folder.h"
#include "app/copydata_report.h"
#include "app/download_progress.h"
#include "app/process_token_api.h"
#include "app/scoped_handle.h"
#include "app/system_services.h"
#include "net/download_task.h"

namespace kelo {

const wchar_t kInstallerStartFailedText[] = L"启动安装程序失败，请重试。";

std::wstring InstallerCommandLine(const std::wstring& installerPath, uintptr_t window,
                                  const std::wstring& installFolder, bool createShortcut, bool autorun) {
    // Window handles are 32-bit values even in 64-bit processes; the receiver
    // reads them back as signed decimals.
    const int windowNumber = static_cast<int>(static_cast<intptr_t>(window));
    std::wstring line = FormatWide(L"\"%s\" /install /call_wnd %d /install_path \"%s\"",
                                   installerPath.c_str(), windowNumber, installFolder.c_str());
    if (createShortcut) line += L" /install_createshortcut";
    if (autorun) line += L" /install_autorun";
    return line;
}

std::wstring ClientPath(const std::wstring& installFolder) {
    return installFolder + L"KeloVoice.exe";
}

std::wstring ClientCommandLine(const std::wstring& installFolder, bool shortcut, bool autorun) {
    return L"\"" + ClientPath(installFolder) + L"\"" + L" /install_shortcut " + (shortcut ? L"1" : L"0") +
           L" /install_autorun " + (autorun ? L"1" : L"0");
}

void OnDownloadComplete(IInstallView& view, const HandoffOptions& options) {
    const std::wstring folder = FormatWide(L"%s", view.InstallFolder().c_str());
    RunInstaller(view, view.InstallerPath(), folder, options);
}

void RunInstaller(IInstallView& view, const std::wstring& installerPath, const std::wstring& installFolder,
                  const HandoffOptions& options) {
    // Held until CreateProcessW has returned: the bytes checked are the bytes started.
    StagedInstaller staged;
    const std::wstring base = options.stagingBase.empty() ? SystemTempFolder() : options.stagingBase;
    switch (staged.Stage(installerPath, view.ExpectedInstallerFile(), base, options.hooks)) {
        case StagingResult::Ready:
            break;
        case StagingResult::BadSize:
            view.ShowStage(StageFailed, DownloadFailureText(DownloadBadSize));
            return;
        case StagingResult::BadMd5:
            view.ShowStage(StageFailed, DownloadFailureText(DownloadBadMd5));
            return;
        case StagingResult::NotStarted:
            view.ShowStage(StageFailed, kInstallerStartFailedText);
            return;
    }

    const std::wstring commandLine =
        InstallerCommandLine(staged.Program(), view.WindowHandle(), installFolder, view.ShortcutSelected(),
                             view.AutorunSelected());
    std::vector<wchar_t> line(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    // Started in its own folder: this process's current directory is usually
    // the user's Downloads folder, where anyone could leave a DLL.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, staged.Folder().c_str(),
                        &startup, &created)) {
        staged.Discard();
        // Otherwise the page would keep showing a finished download with no way on.
        view.ShowStage(StageFailed, kInstallerStartFailedText);
        return;
    }
    // The installer's only news are its reports; nothing waits for it.
    ScopedProcessInfo owned;
    owned.Adopt(created);
}

void HandleInstallerReport(IInstallView& view, const COPYDATASTRUCT& report) {
    const std::string text = ReportPayloadText(report.lpData, report.cbData);
    switch (report.dwData) {
        case ReportProgress:
            view.ShowStage(StageInstalling, std::wstring());
            view.ShowProgress(InstallProgressBarValue(ReportPercent(text)));
            break;
        case ReportSuccess:
            view.ShowStage(StageInstalled, std::wstring());
            break;
        case ReportError:
            view.ShowStage(StageFailed, AnsiToWide(text));
            break;
        default:
            break;
    }
}

bool LaunchClient(IInstallView& view, const std::wstring& installFolder) {
    return LaunchClientWith(view, installFolder, SystemProcessTokenApi());
}

bool LaunchClientWith(IInstallView& view, const std::wstring& installFolder,
                      const ProcessTokenApi& tokenApi) {
    const std::wstring client = ClientPath(installFolder);
    if (!PathExists(client, false)) return false;
    const std::wstring commandLine =
        ClientCommandLine(installFolder, view.ShortcutSelected(), view.AutorunSelected());

    // The installer runs elevated; the client should not inherit that.
    if (StartProcessAtMediumIntegrityWith(tokenApi, commandLine)) {
        OutputDebugStringW(L"get low priviledge success\n");
        return true;
    }
    HANDLE process = nullptr;
    const bool started = StartProcess(client, commandLine, &process);
    ScopedHandle owned(process);
    return started;
}

}  // namespace kelo
