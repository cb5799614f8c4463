#pragma once

// The base of the installer's windows: each reads its skin from the ZIP
// archive the program carries as resource 200 (resources/installer.rc.in).

#include "ui/core/window_impl_base.h"

namespace kelo {

class ShippedSkinForm : public SkinUI::WindowImplBase {
protected:
    SkinUI::UiString SkinFolder() override { return SkinUI::UiString(L"skin\\"); }
    int SkinSourceKind() override { return SkinUI::SkinFromArchiveResource; }
    const SkinUI::UiChar* SkinResourceId() override { return MAKEINTRESOURCEW(200); }
};

}  // namespace kelo
