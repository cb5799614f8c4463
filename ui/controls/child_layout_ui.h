// CChildLayoutUI: a container that, when initialised, builds the skin file
// named by "xmlfile" and holds the result as its child.
#pragma once

#include "ui/controls/container_ui.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
public:
    const UiChar* ClassName() const override;
    void* InterfaceFor(const UiChar* name) override;
    // Builds the file for this container's manager and adds the result, or
    // removes all children when nothing could be built.
    void Initialize() override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;

    UiString ChildLayoutXml() const { return xmlFile_; }
    void SetChildLayoutXml(const UiChar* file) { xmlFile_ = file; }

private:
    UiString xmlFile_;
};

}  // namespace SkinUI
