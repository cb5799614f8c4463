#pragma once

// The small window shown instead of the install window on Windows versions
// older than Windows 7: a notice, the link to the web edition and a close
// button. Nothing is downloaded or installed on this path.

#include "app/shipped_skin_form.h"

namespace SkinUI {
class CControlUI;
}

namespace kelo {

class ErrorForm : public ShippedSkinForm {
protected:
    const SkinUI::UiChar* WindowClassName() const override;
    void OnInitWindow() override;
    SkinUI::UiString SkinFile() override;
    void OnNotify(SkinUI::NotifyMsg& msg) override;

private:
    SkinUI::CControlUI* close_ = nullptr;
    SkinUI::CControlUI* btnWeb_ = nullptr;
};

}  // namespace kelo
