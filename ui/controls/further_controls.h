// The further control classes of the skin vocabulary that the installer's
// skins never use. Each answers its class name and interface names and
// otherwise behaves as its base: a skin that names one builds and lays out,
// but the control has no behaviour of its own.
#pragma once

#include "ui/controls/button_ui.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/horizontal_layout_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/vertical_layout_ui.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("TileLayoutUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("TileLayout"))) return this;
        return CContainerUI::InterfaceFor(name);
    }
};

class CTabLayoutUI : public CContainerUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("TabLayoutUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("TabLayout"))) return this;
        return CContainerUI::InterfaceFor(name);
    }
};

class CRichEditUI : public CContainerUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("RichEditUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("RichEdit"))) return this;
        return CContainerUI::InterfaceFor(name);
    }
};

class CWebBrowserUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("WebBrowserUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("WebBrowser"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CActiveXUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ActiveXUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ActiveX"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CListUI : public CVerticalLayoutUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("List"))) return this;
        if (UiStrEq(name, UI_TEXT("IList"))) return this;
        if (UiStrEq(name, UI_TEXT("IListOwner"))) return this;
        return CVerticalLayoutUI::InterfaceFor(name);
    }
};

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListHeaderUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListHeader"))) return this;
        return CHorizontalLayoutUI::InterfaceFor(name);
    }
};

class CListHeaderItemUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListHeaderItemUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListHeaderItem"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CListElementUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListElementUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListItem"))) return this;
        if (UiStrEq(name, UI_TEXT("ListElement"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CListLabelElementUI : public CListElementUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListLabelElementUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListLabelElement"))) return this;
        return CListElementUI::InterfaceFor(name);
    }
};

class CListTextElementUI : public CListLabelElementUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListTextElementUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListTextElement"))) return this;
        return CListLabelElementUI::InterfaceFor(name);
    }
};

class CListContainerElementUI : public CContainerUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ListContainerElementUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("ListItem"))) return this;
        if (UiStrEq(name, UI_TEXT("ListContainerElement"))) return this;
        return CContainerUI::InterfaceFor(name);
    }
};

class CGifAnimUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("GifAnimUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Gif"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CMpngAnimUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("MpngAnimUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("MPng"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CEditUI : public CLabelUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("EditUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Edit"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
};

class CUIPopUp : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("PopUpUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("PopUp"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CComboUI : public CContainerUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ComboUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Combo"))) return this;
        if (UiStrEq(name, UI_TEXT("IListOwner"))) return this;
        return CContainerUI::InterfaceFor(name);
    }
};

class CSliderUI : public CProgressUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("SliderUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Slider"))) return this;
        return CProgressUI::InterfaceFor(name);
    }
};

class CTreeViewUI : public CListUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("TreeViewUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("TreeView"))) return this;
        return CListUI::InterfaceFor(name);
    }
};

class CTreeNodeUI : public CListContainerElementUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("TreeNodeUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("TreeNode"))) return this;
        return CListContainerElementUI::InterfaceFor(name);
    }
};

class CDateTimeUI : public CLabelUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("DateTimeUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("DateTime"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
};

class UIOptionX : public COptionUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("UIOptionX"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Option"))) return this;
        return COptionUI::InterfaceFor(name);
    }
};

class UIButtonX : public CButtonUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("UIButtonX"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Button"))) return this;
        return CButtonUI::InterfaceFor(name);
    }
};

// The body of a list: a vertical layout under another name.
using CListBodyUI = CVerticalLayoutUI;

}  // namespace SkinUI
