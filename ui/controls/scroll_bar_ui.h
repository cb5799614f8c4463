// CScrollBarUI: the scroll bar of a container, as far as containers use it:
// its size, its position and its range. It paints like a plain control (its
// colours and background image); it has no thumb of its own.
#pragma once

#include "ui/controls/control_ui.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    static constexpr int kDefaultSize = 16;

    CScrollBarUI();
    const UiChar* ClassName() const override;
    void* InterfaceFor(const UiChar* name) override;

    CContainerUI* Owner() const { return owner_; }
    void SetOwner(CContainerUI* owner) { owner_ = owner; }
    bool IsHorizontal() const { return horizontal_; }
    // A vertical bar is kDefaultSize wide, a horizontal one kDefaultSize high.
    void SetHorizontal(bool horizontal);
    int ScrollRange() const { return range_; }
    // A negative range counts as 0; the position is cut to the range.
    void SetScrollRange(int range);
    int ScrollPos() const { return pos_; }
    // Cut to 0 .. range.
    void SetScrollPos(int pos);

private:
    CContainerUI* owner_ = nullptr;
    bool horizontal_ = false;
    int range_ = 0;
    int pos_ = 0;
};

}  // namespace SkinUI
