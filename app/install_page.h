#pragma once

// The install window's reactions as tables: what a click does, which controls
// each stage of the download page shows, and where the percent label sits.
// Plain code, free of the Windows API; the form applies the answers.

#include <string>

namespace kelo {

enum class ClickAction {
    None,
    Minimize,  // WM_SYSCOMMAND SC_MINIMIZE
    Close,     // WM_CLOSE
    BrowseFolder,
    StartInstall,   // to the download page, stage downloading, new worker
    Retry,          // stage downloading, bar at 0, new worker
    UseNow,         // start the client, then WM_CLOSE
    OpenAgreement,  // website + "/im/agreement.html"
    OpenWebsite,    // website + "/im"
    ShowCustom,     // folder field and options shown
    ShowDefault,    // folder field and options hidden
    AgreementToggled,
};

// The action for a "click" from the control of that name.
ClickAction ActionForClick(const std::wstring& sender);

// An option sends "click" before it toggles itself: the install button
// follows the state after the toggle, the opposite of what the option
// reports during the click.
bool InstallEnabledAfterAgreementClick(bool agreementSelectedDuringClick);

// Visibility of the download page's controls for a stage.
struct StageView {
    bool downloadTip = false;
    bool installTip = false;
    bool errorTip = false;
    bool cancel = false;
    bool retry = false;
    bool useNow = false;
};

// False for a kind outside 0 to 3: nothing changes then.
bool StageViewFor(int stage, StageView& view);

// "安装成功！", the install tip of the installed stage.
extern const wchar_t kInstalledText[];
// "正在安装...", the install tip whenever the bar moves.
extern const wchar_t kInstallingText[];

// The percent label's left offset: its right edge sits at the end of the
// filled part of the 700-pixel bar (label 32 pixels wide), never below 0.
int ProgressLabelOffset(int percent);
// "x,296,0,0": the label's "padding" attribute.
std::wstring ProgressLabelPadding(int percent);
// "37%"
std::wstring ProgressLabelText(int percent);

}  // namespace kelo
