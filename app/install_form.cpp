#include "app/install_form.h"

#include <objbase.h>
#include <shlobj.h>

#include "app/app_config.h"
#include "app/install_page.h"
#include "app/install_settings.h"
#include "app/install_worker.h"
#include "app/installer_handoff.h"
#include "app/system_services.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/progress_ui.h"

namespace kelo {

namespace {

using SkinUI::CControlUI;

void SetShown(CControlUI* control, bool shown) {
    if (control != nullptr) control->SetVisible(shown);
}

bool IsSelected(const SkinUI::COptionUI* option) {
    return option != nullptr && option->IsSelected();
}

bool ReadInstallValue(InstallValue value, std::wstring& out) {
    switch (value) {
        case InstallValue::DisplayName:
            return ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, kDisplayNameValue, out);
        case InstallValue::RunAtStartup:
            return ReadRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, out);
        case InstallValue::CreateShortcut:
            return ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, kCreateShortcutValue, out);
        case InstallValue::InstallDir:
            return ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, kInstallDirValue, out);
    }
    return false;
}

// An item list from the folder dialog, freed with the COM allocator.
class ScopedItemList {
public:
    explicit ScopedItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ScopedItemList() {
        if (list_ != nullptr) CoTaskMemFree(list_);
    }
    ScopedItemList(const ScopedItemList&) = delete;
    ScopedItemList& operator=(const ScopedItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return list_; }

private:
    PIDLIST_ABSOLUTE list_;
};

}  // namespace

InstallForm::InstallForm() = default;

InstallForm::~InstallForm() {
    if (view_) view_->Detach();
}

const SkinUI::UiChar* InstallForm::WindowClassName() const {
    return L"InstallForm";
}

SkinUI::UiString InstallForm::SkinFile() {
    return SkinUI::UiString(L"install_form.xml");
}

void InstallForm::OnInitWindow() {
    SkinUI::CManagerUI& m = Manager();
    auto find = [&m](const wchar_t* name) { return m.FindControl(name); };
    auto option = [&find](const wchar_t* name) {
        CControlUI* c = find(name);
        return c != nullptr ? static_cast<SkinUI::COptionUI*>(c->InterfaceFor(L"Option")) : nullptr;
    };
    installLabel_ = find(L"install_label");
    minsize_ = find(L"minsize");
    close_ = find(L"close");
    installPathArea_ = find(L"install_path_area");
    installPath_ = find(L"install_path");
    chosePath_ = find(L"chose_path");
    install_ = find(L"install");
    shortcut_ = option(L"shortcut");
    shortcutText_ = find(L"shortcut_text");
    autorun_ = option(L"autorun");
    autorunText_ = find(L"autorun_text");
    agreement_ = option(L"agreement");
    btnAgreement_ = find(L"btn_agreement");
    btnOfficialWebsite_ = find(L"btn_official_website");
    customInstall_ = find(L"custom_install");
    defaultInstall_ = find(L"default_install");
    downloadLabel_ = find(L"download_label");
    downloadTip_ = find(L"download_tip");
    installTip_ = find(L"install_tip");
    errorTip_ = find(L"error_tip");
    progressTip_ = find(L"progress_tip");
    CControlUI* progress = find(L"install_propress");
    installProgress_ = progress != nullptr
                           ? static_cast<SkinUI::CProgressUI*>(progress->InterfaceFor(L"Progress"))
                           : nullptr;
    downloadCancel_ = find(L"download_cancel");
    downloadRetry_ = find(L"download_retry");
    stepUp_ = find(L"step_up");

    const HWND window = FrameWindow();
    const DWORD uiThread = GetCurrentThreadId();
    BridgeHooks hooks;
    hooks.onUiThread = [uiThread] { return GetCurrentThreadId() == uiThread; };
    hooks.wake = [window] { PostMessageW(window, WM_VIEW_REQUESTS, 0, 0); };
    hooks.downloadComplete = [window] { PostMessageW(window, WM_DOWNLOAD_COMPLETE, 0, 0); };
    hooks.window = reinterpret_cast<uintptr_t>(window);
    view_ = std::make_shared<InstallViewBridge>(static_cast<IInstallPage*>(this), std::move(hooks));

    LoadInstallSettings();
    if (installDir_.empty()) {
        wchar_t programFiles[MAX_PATH] = {};
        if (SUCCEEDED(
                SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles))) {
            installDir_ = DefaultInstallDir(programFiles);
        }
    }
    if (installPath_ != nullptr) installPath_->SetText(installDir_.c_str());
    if (shortcut_ != nullptr) shortcut_->Select(shortcutDefault_);
    if (autorun_ != nullptr) autorun_->Select(autorunDefault_);
}

void InstallForm::LoadInstallSettings() {
    InstallSettingsSource source;
    source.read = &ReadInstallValue;
    source.folderExists = [](const std::wstring& dir) { return PathExists(dir, true); };
    const InstallSettings settings = LoadInstallSettingsFrom(source);
    shortcutDefault_ = settings.shortcut;
    autorunDefault_ = settings.autorun;
    installDir_ = settings.installDir;
}

void InstallForm::OnNotify(SkinUI::NotifyMsg& msg) {
    if (msg.type != L"click" || msg.sender == nullptr) return;
    const std::wstring sender = msg.sender->GetName().Data();
    switch (ActionForClick(sender)) {
        case ClickAction::Minimize:
            SendToFrame(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case ClickAction::Close:
            SendToFrame(WM_CLOSE, 0, 0);
            break;
        case ClickAction::BrowseFolder:
            BrowseInstallDir();
            break;
        case ClickAction::StartInstall:
            SetShown(installLabel_, false);
            SetShown(downloadLabel_, true);
            ShowStage(StageDownloading, std::wstring());
            StartWorker();
            break;
        case ClickAction::Retry:
            ShowStage(StageDownloading, std::wstring());
            ShowProgress(0);
            StartWorker();
            break;
        case ClickAction::UseNow:
            LaunchClient(*view_, InstallFolder());
            SendToFrame(WM_CLOSE, 0, 0);
            break;
        case ClickAction::OpenAgreement:
            OpenUrl(WebsiteUrl() + L"/im/agreement.html", SW_SHOWNORMAL);
            break;
        case ClickAction::OpenWebsite:
            OpenUrl(WebsiteUrl() + L"/im", SW_SHOWNORMAL);
            break;
        case ClickAction::ShowCustom:
            ShowCustomOptions(true);
            break;
        case ClickAction::ShowDefault:
            ShowCustomOptions(false);
            break;
        case ClickAction::AgreementToggled:
            if (install_ != nullptr)
                install_->SetEnabled(InstallEnabledAfterAgreementClick(IsSelected(agreement_)));
            break;
        case ClickAction::None:
            break;
    }
}

void InstallForm::ShowCustomOptions(bool custom) {
    SetShown(installPathArea_, custom);
    SetShown(shortcut_, custom);
    SetShown(shortcutText_, custom);
    SetShown(autorun_, custom);
    SetShown(autorunText_, custom);
    SetShown(customInstall_, !custom);
    SetShown(defaultInstall_, custom);
}

void InstallForm::StartWorker() {
    // A run that cannot start shows why instead of a page that never moves.
    if (!StartInstallWorker(view_)) ShowStage(StageFailed, L"下载安装文件失败，请重试。");
}

LRESULT InstallForm::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            // Gone from the screen at once, even while threads are still busy.
            ShowWindow(FrameWindow(), SW_HIDE);
            break;
        case WM_COPYDATA:
            if (lParam != 0 && view_)
                HandleInstallerReport(*view_, *reinterpret_cast<COPYDATASTRUCT*>(lParam));
            break;
        case WM_DOWNLOAD_COMPLETE:
            if (view_) OnDownloadComplete(*view_);
            break;
        case WM_VIEW_REQUESTS:
            if (view_) view_->ApplyPending();
            return 0;
        default:
            break;
    }
    return WindowImplBase::OnWindowMessage(msg, wParam, lParam);
}

void InstallForm::OnFinalMessage(HWND window) {
    // From here on, threads that outlive the window find it detached.
    if (view_) view_->Detach();
    WindowImplBase::OnFinalMessage(window);
}

void InstallForm::ShowStage(int stage, const std::wstring& text) {
    if (view_) view_->ShowStage(stage, text);
}

void InstallForm::ShowProgress(int percent) {
    if (view_) view_->ShowProgress(percent);
}

void InstallForm::ApplyStage(int stage, const std::wstring& text) {
    StageView v;
    if (!StageViewFor(stage, v)) return;
    if (stage == StageFailed && errorTip_ != nullptr) errorTip_->SetText(text.c_str());
    if (stage == StageInstalled && installTip_ != nullptr) installTip_->SetText(kInstalledText);
    SetShown(downloadTip_, v.downloadTip);
    SetShown(installTip_, v.installTip);
    SetShown(errorTip_, v.errorTip);
    SetShown(downloadCancel_, v.cancel);
    SetShown(downloadRetry_, v.retry);
    SetShown(stepUp_, v.useNow);
}

void InstallForm::ApplyProgress(int percent) {
    if (progressTip_ != nullptr) {
        progressTip_->SetAttribute(L"padding", ProgressLabelPadding(percent).c_str());
        progressTip_->SetText(ProgressLabelText(percent).c_str());
        if (percent == 100) progressTip_->SetVisible(false);
    }
    if (installProgress_ != nullptr) installProgress_->SetValue(percent);
    if (installTip_ != nullptr) installTip_->SetText(kInstallingText);
}

void InstallForm::ApplyDownloadTip(const std::wstring& text) {
    if (downloadTip_ != nullptr) downloadTip_->SetText(text.c_str());
}

std::wstring InstallForm::InstallFolder() const {
    return installPath_ != nullptr ? std::wstring(installPath_->GetText().Data()) : std::wstring();
}

bool InstallForm::ShortcutSelected() const {
    return IsSelected(shortcut_);
}

bool InstallForm::AutorunSelected() const {
    return IsSelected(autorun_);
}

void InstallForm::BrowseInstallDir() {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = FrameWindow();
    info.pszDisplayName = displayName;
    info.lpszTitle = L"从下面选文件夹目录:";
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNFSANCESTORS;
    ScopedItemList picked(SHBrowseForFolderW(&info));
    if (picked.Get() == nullptr) return;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(picked.Get(), path)) return;
    if (installPath_ != nullptr) installPath_->SetText(InstallDirForPickedFolder(path).c_str());
}

}  // namespace kelo
