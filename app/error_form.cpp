#include "app/error_form.h"

#include "app/app_config.h"
#include "app/system_services.h"
#include "ui/controls/control_ui.h"

namespace kelo {

const SkinUI::UiChar* ErrorForm::WindowClassName() const {
    return L"ErrorForm";
}

SkinUI::UiString ErrorForm::SkinFile() {
    return SkinUI::UiString(L"os_error.xml");
}

void ErrorForm::OnInitWindow() {
    close_ = Manager().FindControl(L"close");
    btnWeb_ = Manager().FindControl(L"btn_web");
}

void ErrorForm::OnNotify(SkinUI::NotifyMsg& msg) {
    if (msg.type != L"click" || msg.sender == nullptr) return;
    if (msg.sender == close_) {
        SendToFrame(WM_CLOSE, 0, 0);
    } else if (msg.sender == btnWeb_) {
        OpenUrl(WebsiteUrl() + L"/im", SW_SHOWNORMAL);
    }
}

}  // namespace kelo
