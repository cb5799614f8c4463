#pragma once

// The small window shown instead of the install window on Windows versions
// older than Windows 7: a notice, the link to the web edition and a close
// button. Nothing is downloaded or installed on this path.

#include "ui/core/window_impl_base.h"

namespace SkinUI {
class CControlUI;
}

namespace kelo {

class ErrorForm : public SkinUI::WindowImplBase {
protected:
    const SkinUI::UiChar* WindowClassName() const override;
    void OnInitWindow() override;
    SkinUI::UiString SkinFolder() override;
    SkinUI::UiString SkinFile() override;
    int SkinSourceKind() override;
    const SkinUI::UiChar* SkinResourceId() override;
    void OnNotify(SkinUI::NotifyMsg& msg) override;

private:
    SkinUI::CControlUI* close_ = nullptr;
    SkinUI::CControlUI* btnWeb_ = nullptr;
};

}  // namespace kelo
