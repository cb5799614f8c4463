#pragma once

// The install window: finds the skin's controls, proposes the install folder
// and options, reacts to clicks, shows the stages and the progress of the
// download page, starts install workers and routes the hand-off's messages.
// Everything here runs on the UI thread; workers and download threads reach
// the window only through its InstallViewBridge.

#include <memory>
#include <string>

#include "app/install_view_bridge.h"
#include "app/shipped_skin_form.h"

namespace SkinUI {
class CControlUI;
class COptionUI;
class CProgressUI;
}  // namespace SkinUI

namespace kelo {

// Posted by the bridge: requests of other threads are waiting.
constexpr UINT WM_VIEW_REQUESTS = WM_APP + 1;

class InstallForm : public ShippedSkinForm, private IInstallPage {
public:
    InstallForm();
    ~InstallForm() override;

    // Shows one of the four stages of the download page; `text` is used by
    // StageFailed only. Any other kind changes nothing. UI thread.
    void ShowStage(int stage, const std::wstring& text);
    // Percent of the whole bar, 0 to 100; the percent label follows the fill
    // and is hidden for good once it reaches 100. UI thread.
    void ShowProgress(int percent);

protected:
    const SkinUI::UiChar* WindowClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;
    void OnInitWindow() override;
    SkinUI::UiString SkinFile() override;
    void OnNotify(SkinUI::NotifyMsg& msg) override;

private:
    void LoadInstallSettings();
    void BrowseInstallDir();
    void StartWorker();
    void ShowCustomOptions(bool custom);

    // IInstallPage: what the bridge applies on the UI thread.
    void ApplyStage(int stage, const std::wstring& text) override;
    void ApplyProgress(int percent) override;
    void ApplyDownloadTip(const std::wstring& text) override;
    std::wstring InstallFolder() const override;
    bool ShortcutSelected() const override;
    bool AutorunSelected() const override;

    SkinUI::CControlUI* installLabel_ = nullptr;
    SkinUI::CControlUI* minsize_ = nullptr;
    SkinUI::CControlUI* close_ = nullptr;
    SkinUI::CControlUI* installPathArea_ = nullptr;
    SkinUI::CControlUI* installPath_ = nullptr;
    SkinUI::CControlUI* chosePath_ = nullptr;
    SkinUI::CControlUI* install_ = nullptr;
    SkinUI::COptionUI* shortcut_ = nullptr;
    SkinUI::CControlUI* shortcutText_ = nullptr;
    SkinUI::COptionUI* autorun_ = nullptr;
    SkinUI::CControlUI* autorunText_ = nullptr;
    SkinUI::COptionUI* agreement_ = nullptr;
    SkinUI::CControlUI* btnAgreement_ = nullptr;
    SkinUI::CControlUI* btnOfficialWebsite_ = nullptr;
    SkinUI::CControlUI* customInstall_ = nullptr;
    SkinUI::CControlUI* defaultInstall_ = nullptr;
    SkinUI::CControlUI* downloadLabel_ = nullptr;
    SkinUI::CControlUI* downloadTip_ = nullptr;
    SkinUI::CControlUI* installTip_ = nullptr;
    SkinUI::CControlUI* errorTip_ = nullptr;
    SkinUI::CControlUI* progressTip_ = nullptr;
    SkinUI::CProgressUI* installProgress_ = nullptr;
    SkinUI::CControlUI* downloadCancel_ = nullptr;
    SkinUI::CControlUI* downloadRetry_ = nullptr;
    SkinUI::CControlUI* stepUp_ = nullptr;

    bool shortcutDefault_ = true;
    bool autorunDefault_ = false;
    std::wstring installDir_;
    // Shared with the workers, which may outlive this window.
    std::shared_ptr<InstallViewBridge> view_;
};

}  // namespace kelo
