// The skin vocabulary's element names and the control classes they create.
#pragma once

#include "ui/core/ui_char.h"

namespace SkinUI {

class CControlUI;

// A new control for an element name of the class table (compared without
// regard to case), or null for a name that is not in it.
CControlUI* CreateControlForElement(const UiChar* name);

}  // namespace SkinUI
