#include "ui/controls/control_factory.h"

#include "ui/controls/button_ui.h"
#include "ui/controls/child_layout_ui.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/further_controls.h"
#include "ui/controls/horizontal_layout_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/scroll_bar_ui.h"
#include "ui/controls/vertical_layout_ui.h"

namespace SkinUI {

namespace {

bool Named(const UiChar* name, const UiChar* element) {
    return UiStrCmpNoCase(name, element) == 0;
}

}  // namespace

CControlUI* CreateControlForElement(const UiChar* name) {
    if (name == nullptr) return nullptr;
    // The length picks the few names worth comparing.
    switch (UiStrLen(name)) {
        case 3:
            if (Named(name, UI_TEXT("Gif"))) return new CGifAnimUI;
            break;
        case 4:
            if (Named(name, UI_TEXT("Text"))) return new CTextUI;
            if (Named(name, UI_TEXT("Edit"))) return new CEditUI;
            if (Named(name, UI_TEXT("List"))) return new CListUI;
            if (Named(name, UI_TEXT("MPng"))) return new CMpngAnimUI;
            break;
        case 5:
            if (Named(name, UI_TEXT("Label"))) return new CLabelUI;
            if (Named(name, UI_TEXT("Combo"))) return new CComboUI;
            if (Named(name, UI_TEXT("PopUp"))) return new CUIPopUp;
            break;
        case 6:
            if (Named(name, UI_TEXT("Button"))) return new CButtonUI;
            if (Named(name, UI_TEXT("Option"))) return new COptionUI;
            if (Named(name, UI_TEXT("Slider"))) return new CSliderUI;
            break;
        case 7:
            if (Named(name, UI_TEXT("Control"))) return new CControlUI;
            if (Named(name, UI_TEXT("ActiveX"))) return new CActiveXUI;
            if (Named(name, UI_TEXT("ButtonX"))) return new UIButtonX;
            if (Named(name, UI_TEXT("OptionX"))) return new UIOptionX;
            break;
        case 8:
            if (Named(name, UI_TEXT("CheckBox"))) return new CCheckBoxUI;
            if (Named(name, UI_TEXT("Progress"))) return new CProgressUI;
            if (Named(name, UI_TEXT("RichEdit"))) return new CRichEditUI;
            if (Named(name, UI_TEXT("TreeView"))) return new CTreeViewUI;
            if (Named(name, UI_TEXT("DateTime"))) return new CDateTimeUI;
            break;
        case 9:
            if (Named(name, UI_TEXT("Container"))) return new CContainerUI;
            if (Named(name, UI_TEXT("TabLayout"))) return new CTabLayoutUI;
            if (Named(name, UI_TEXT("ScrollBar"))) return new CScrollBarUI;
            break;
        case 10:
            if (Named(name, UI_TEXT("TileLayout"))) return new CTileLayoutUI;
            if (Named(name, UI_TEXT("ListHeader"))) return new CListHeaderUI;
            if (Named(name, UI_TEXT("WebBrowser"))) return new CWebBrowserUI;
            break;
        case 11:
            if (Named(name, UI_TEXT("ChildLayout"))) return new CChildLayoutUI;
            break;
        case 14:
            if (Named(name, UI_TEXT("VerticalLayout"))) return new CVerticalLayoutUI;
            if (Named(name, UI_TEXT("ListHeaderItem"))) return new CListHeaderItemUI;
            break;
        case 15:
            if (Named(name, UI_TEXT("ListTextElement"))) return new CListTextElementUI;
            break;
        case 16:
            if (Named(name, UI_TEXT("HorizontalLayout"))) return new CHorizontalLayoutUI;
            if (Named(name, UI_TEXT("ListLabelElement"))) return new CListLabelElementUI;
            break;
        case 20:
            if (Named(name, UI_TEXT("ListContainerElement"))) return new CListContainerElementUI;
            break;
        default:
            break;
    }
    return nullptr;
}

}  // namespace SkinUI
