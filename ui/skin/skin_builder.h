// CSkinBuilder: turns a skin document into a tree of controls. The document's
// declarations (images, fonts, default attribute lists, language strings) and
// its Window attributes go to the manager; every control element becomes a
// control, built children first, then given its class defaults and its own
// attributes. A builder is made for one build and destroyed after it; the
// controls belong to the tree they were added to, or to the caller.
#pragma once

#include "ui/core/ui_char.h"
#include "ui/skin/dialog_builder_callback.h"
#include "ui/skin/skin_xml.h"

namespace SkinUI {

class CControlUI;
class CManagerUI;

class CSkinBuilder {
public:
    CSkinBuilder() = default;
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // source is a resource id (MAKEINTRESOURCEW, read from the resource
    // module with resourceType, as UTF-8), a text starting with "<" (XML
    // text) or a skin file name (from the skin folder or archive). Null when
    // the document cannot be loaded; else BuildDocument's result.
    CControlUI* Create(const UiChar* source, const UiChar* resourceType, IDialogBuilderCallback* callback,
                       CManagerUI* manager, CControlUI* parent);
    // The first control built directly under the root, or null. manager and
    // parent may be null. Without a parent, further top-level controls are
    // deleted: nothing would own them.
    CControlUI* BuildDocument(IDialogBuilderCallback* callback, CManagerUI* manager, CControlUI* parent);

    CSkinXml& Document() { return document_; }

private:
    CControlUI* BuildChildren(const CSkinXmlNode& node, CControlUI* parent, CManagerUI* manager);
    void ApplyDeclarations(const CSkinXmlNode& root, CManagerUI* manager);
    void ApplyWindowAttributes(const CSkinXmlNode& root, CManagerUI* manager);
    void BuildInclude(const CSkinXmlNode& node, CControlUI* parent, CManagerUI* manager);
    CControlUI* MakeControl(const UiChar* name);

    CSkinXml document_;
    IDialogBuilderCallback* callback_ = nullptr;
    const UiChar* resourceType_ = nullptr;
};

}  // namespace SkinUI
