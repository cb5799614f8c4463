#include "app/install_page.h"

#include <map>

namespace kelo {

const wchar_t kInstalledText[] = L"安装成功！";
const wchar_t kInstallingText[] = L"正在安装...";

namespace {

constexpr int kBarWidth = 700;
constexpr int kLabelWidth = 32;

}  // namespace

ClickAction ActionForClick(const std::wstring& sender) {
    static const std::map<std::wstring, ClickAction> actions = {
        {L"minsize", ClickAction::Minimize},
        {L"close", ClickAction::Close},
        {L"chose_path", ClickAction::BrowseFolder},
        {L"install", ClickAction::StartInstall},
        {L"download_cancel", ClickAction::Close},
        {L"download_retry", ClickAction::Retry},
        {L"step_up", ClickAction::UseNow},
        {L"btn_agreement", ClickAction::OpenAgreement},
        {L"btn_official_website", ClickAction::OpenWebsite},
        {L"custom_install", ClickAction::ShowCustom},
        {L"default_install", ClickAction::ShowDefault},
        {L"agreement", ClickAction::AgreementToggled},
    };
    const auto found = actions.find(sender);
    return found == actions.end() ? ClickAction::None : found->second;
}

bool InstallEnabledAfterAgreementClick(bool agreementSelectedDuringClick) {
    return !agreementSelectedDuringClick;
}

bool StageViewFor(int stage, StageView& view) {
    switch (stage) {
        case 0:  // downloading
            view = StageView{true, false, false, true, false, false};
            return true;
        case 1:  // installing
            view = StageView{false, true, false, false, false, false};
            return true;
        case 2:  // installed
            view = StageView{false, true, false, false, false, true};
            return true;
        case 3:  // failed
            view = StageView{false, false, true, false, true, false};
            return true;
        default:
            return false;
    }
}

int ProgressLabelOffset(int percent) {
    const int x = static_cast<int>(percent / 100.0 * kBarWidth - kLabelWidth);
    return x < 0 ? 0 : x;
}

std::wstring ProgressLabelPadding(int percent) {
    return std::to_wstring(ProgressLabelOffset(percent)) + L",296,0,0";
}

std::wstring ProgressLabelText(int percent) {
    return std::to_wstring(percent) + L"%";
}

}  // namespace kelo
