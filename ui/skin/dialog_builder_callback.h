// IDialogBuilderCallback: the window's hook into the skin builder for element
// names the builder does not know.
#pragma once

#include "ui/core/ui_char.h"

namespace SkinUI {

class CControlUI;

class IDialogBuilderCallback {
public:
    // A new control for the element name, or null to skip the element.
    virtual CControlUI* CreateCustomControl(const UiChar* name) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// The "CreateControl" function of a control plug-in.
using ControlPluginFunction = CControlUI* (*)(const UiChar* name);

}  // namespace SkinUI
