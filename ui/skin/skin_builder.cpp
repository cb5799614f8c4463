#include "ui/skin/skin_builder.h"

#include <windows.h>

#include "ui/controls/attribute_values.h"
#include "ui/controls/container_interface.h"
#include "ui/controls/control_factory.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/further_controls.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

constexpr int kMaxIncludeSource = 499;  // characters

bool NameIs(const UiChar* name, const UiChar* expected) {
    return UiStrCmpNoCase(name, expected) == 0;
}

// Declaration booleans: "true" in any case.
bool IsTrue(const UiChar* value) {
    return UiStrCmpNoCase(value, UI_TEXT("true")) == 0;
}

// The value of an attribute whose name matches without regard to case, or
// null.
const UiChar* Attribute(const CSkinXmlNode& node, const UiChar* name) {
    const int count = node.AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (NameIs(node.AttributeName(i), name)) return node.AttributeValue(i);
    }
    return nullptr;
}

const UiChar* AttributeOr(const CSkinXmlNode& node, const UiChar* name, const UiChar* fallback) {
    const UiChar* value = Attribute(node, name);
    return value != nullptr ? value : fallback;
}

int IntAttribute(const CSkinXmlNode& node, const UiChar* name, int fallback) {
    const UiChar* value = Attribute(node, name);
    return value != nullptr ? ParseDecimal(value) : fallback;
}

bool IsDeclaration(const UiChar* name) {
    return NameIs(name, UI_TEXT("Image")) || NameIs(name, UI_TEXT("Font")) ||
           NameIs(name, UI_TEXT("Default")) || NameIs(name, UI_TEXT("MultiLanguage"));
}

}  // namespace

CControlUI* CSkinBuilder::Create(const UiChar* source, const UiChar* resourceType,
                                 IDialogBuilderCallback* callback, CManagerUI* manager, CControlUI* parent) {
    if (source == nullptr) return nullptr;
    if (IS_INTRESOURCE(source)) {
        HMODULE module = CManagerUI::ResourceModule();
        HRSRC resource = FindResourceW(module, source, resourceType);
        if (resource == nullptr) return nullptr;
        HGLOBAL loaded = LoadResource(module, resource);
        if (loaded == nullptr) return nullptr;
        const void* bytes = LockResource(loaded);
        const DWORD size = SizeofResource(module, resource);
        if (bytes == nullptr || !document_.ParseBytes(bytes, size, SkinTextEncoding::kUtf8)) return nullptr;
        resourceType_ = resourceType;
    } else if (source[0] == '<') {
        if (!document_.ParseText(source)) return nullptr;
    } else if (!document_.ParseFile(source, SkinTextEncoding::kUtf8)) {
        return nullptr;
    }
    return BuildDocument(callback, manager, parent);
}

CControlUI* CSkinBuilder::BuildDocument(IDialogBuilderCallback* callback, CManagerUI* manager,
                                        CControlUI* parent) {
    callback_ = callback;
    CSkinXmlNode root = document_.RootNode();
    if (!root.IsValid()) return nullptr;
    if (manager != nullptr) {
        ApplyDeclarations(root, manager);
        if (NameIs(root.Name(), UI_TEXT("Window")) && manager->PaintWindow() != nullptr) {
            ApplyWindowAttributes(root, manager);
        }
    }
    return BuildChildren(root, parent, manager);
}

void CSkinBuilder::ApplyDeclarations(const CSkinXmlNode& root, CManagerUI* manager) {
    for (CSkinXmlNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const UiChar* element = node.Name();
        if (NameIs(element, UI_TEXT("Image"))) {
            const UiChar* name = AttributeOr(node, UI_TEXT("name"), UI_TEXT(""));
            const UiChar* type = Attribute(node, UI_TEXT("restype"));
            const UiChar* mask = Attribute(node, UI_TEXT("mask"));
            const bool shared = IsTrue(AttributeOr(node, UI_TEXT("shared"), UI_TEXT("")));
            if (name[0] == 0) continue;
            manager->LoadNamedImage(name, (type != nullptr && type[0] != 0) ? type : nullptr,
                                    mask != nullptr ? ParseHexColor(mask) : 0, false, shared);
        } else if (NameIs(element, UI_TEXT("Font"))) {
            const int id = IntAttribute(node, UI_TEXT("id"), -1);
            const UiChar* face = AttributeOr(node, UI_TEXT("name"), UI_TEXT(""));
            const int size = IntAttribute(node, UI_TEXT("size"), 12);
            const bool bold = IsTrue(AttributeOr(node, UI_TEXT("bold"), UI_TEXT("")));
            const bool underline = IsTrue(AttributeOr(node, UI_TEXT("underline"), UI_TEXT("")));
            const bool italic = IsTrue(AttributeOr(node, UI_TEXT("italic"), UI_TEXT("")));
            const bool isDefault = IsTrue(AttributeOr(node, UI_TEXT("default"), UI_TEXT("")));
            const bool shared = IsTrue(AttributeOr(node, UI_TEXT("shared"), UI_TEXT("")));
            if (id < 0 || face[0] == 0) continue;
            manager->StoreFont(id, face, size, bold, underline, italic, shared);
            if (isDefault) manager->ReplaceDefaultFont(face, size, bold, underline, italic, shared);
        } else if (NameIs(element, UI_TEXT("Default"))) {
            const UiChar* name = AttributeOr(node, UI_TEXT("name"), UI_TEXT(""));
            const UiChar* value = AttributeOr(node, UI_TEXT("value"), UI_TEXT(""));
            const bool shared = IsTrue(AttributeOr(node, UI_TEXT("shared"), UI_TEXT("")));
            if (name[0] != 0) manager->SetClassDefaults(name, value, shared);
        } else if (NameIs(element, UI_TEXT("MultiLanguage"))) {
            const int id = IntAttribute(node, UI_TEXT("id"), -1);
            const UiChar* value = AttributeOr(node, UI_TEXT("value"), UI_TEXT(""));
            if (id >= 0 && value[0] != 0) CManagerUI::AddLanguageString(id, value);
        }
    }
}

void CSkinBuilder::ApplyWindowAttributes(const CSkinXmlNode& root, CManagerUI* manager) {
    const int count = root.AttributeCount();
    for (int i = 0; i < count; ++i) {
        const UiChar* name = root.AttributeName(i);
        const UiChar* value = root.AttributeValue(i);
        int32_t n[4];
        if (NameIs(name, UI_TEXT("size"))) {
            ParseNumberList(value, n, 2);
            manager->SetStartSize(n[0], n[1]);
        } else if (NameIs(name, UI_TEXT("sizebox"))) {
            ParseNumberList(value, n, 4);
            manager->SetResizeBorders({n[0], n[1], n[2], n[3]});
        } else if (NameIs(name, UI_TEXT("caption"))) {
            ParseNumberList(value, n, 4);
            manager->SetCaptionArea({n[0], n[1], n[2], n[3]});
        } else if (NameIs(name, UI_TEXT("roundcorner"))) {
            ParseNumberList(value, n, 2);
            manager->SetCornerEllipse(n[0], n[1]);
        } else if (NameIs(name, UI_TEXT("mininfo"))) {
            ParseNumberList(value, n, 2);
            manager->SetMinTrackSize(n[0], n[1]);
        } else if (NameIs(name, UI_TEXT("maxinfo"))) {
            ParseNumberList(value, n, 2);
            manager->SetMaxTrackSize(n[0], n[1]);
        } else if (NameIs(name, UI_TEXT("showdirty"))) {
            manager->SetDrawUpdateRect(IsTrue(value));
        } else if (NameIs(name, UI_TEXT("layerd"))) {
            manager->SetPerPixelAlpha(IsTrue(value));
        } else if (NameIs(name, UI_TEXT("alpha"))) {
            manager->SetOpacity(ParseDecimal(value));
        } else if (NameIs(name, UI_TEXT("bktrans"))) {
            manager->SetKeepBackground(IsTrue(value));
        } else if (NameIs(name, UI_TEXT("disabledfontcolor"))) {
            manager->ChangeDefaultDisabledColor(ParseHexColor(value), false);
        } else if (NameIs(name, UI_TEXT("defaultfontcolor"))) {
            manager->ChangeDefaultTextColor(ParseHexColor(value), false);
        } else if (NameIs(name, UI_TEXT("linkfontcolor"))) {
            manager->ChangeDefaultLinkColor(ParseHexColor(value), false);
        } else if (NameIs(name, UI_TEXT("linkhoverfontcolor"))) {
            manager->ChangeDefaultLinkHoverColor(ParseHexColor(value), false);
        } else if (NameIs(name, UI_TEXT("selectedcolor"))) {
            manager->ChangeDefaultSelectedBackColor(ParseHexColor(value), false);
        }
    }
}

void CSkinBuilder::BuildInclude(const CSkinXmlNode& node, CControlUI* parent, CManagerUI* manager) {
    if (!node.HasAttributes()) return;
    int count = 1;
    UiChar source[kMaxIncludeSource + 1] = {};
    bool hasSource = false;
    const int attributes = node.AttributeCount();
    for (int i = 0; i < attributes; ++i) {
        const UiChar* name = node.AttributeName(i);
        if (NameIs(name, UI_TEXT("count"))) {
            count = ParseDecimal(node.AttributeValue(i));
        } else if (NameIs(name, UI_TEXT("source"))) {
            hasSource = node.CopyAttributeValue(i, source, kMaxIncludeSource);
        }
    }
    if (!hasSource) return;
    for (int i = 0; i < count; ++i) {
        CSkinBuilder nested;
        CControlUI* built;
        if (resourceType_ != nullptr) {
            const int id = ParseDecimal(source);
            built = nested.Create(MAKEINTRESOURCEW(id), resourceType_, callback_, manager, parent);
        } else {
            built = nested.Create(source, nullptr, callback_, manager, parent);
        }
        // With a parent the included controls now belong to it; without one
        // nothing would own them.
        if (parent == nullptr) delete built;
    }
}

CControlUI* CSkinBuilder::MakeControl(const UiChar* name) {
    if (NameIs(name, UI_TEXT("TreeNode"))) return new CTreeNodeUI;
    CControlUI* control = CreateControlForElement(name);
    if (control != nullptr) return control;
    const PtrArray& plugins = CManagerUI::ControlPlugins();
    for (int i = 0; i < plugins.GetSize(); ++i) {
        auto create = reinterpret_cast<ControlPluginFunction>(plugins.GetAt(i));
        control = create(name);
        if (control != nullptr) return control;
    }
    if (callback_ != nullptr) return callback_->CreateCustomControl(name);
    return nullptr;
}

CControlUI* CSkinBuilder::BuildChildren(const CSkinXmlNode& node, CControlUI* parent, CManagerUI* manager) {
    CControlUI* result = nullptr;
    IContainerUI* container = nullptr;
    bool containerLooked = false;
    PtrArray leftOver;  // top-level controls after the first
    for (CSkinXmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        const UiChar* name = child.Name();
        if (IsDeclaration(name)) continue;
        if (NameIs(name, UI_TEXT("Include"))) {
            BuildInclude(child, parent, manager);
            continue;
        }
        CControlUI* control = MakeControl(name);
        if (control == nullptr) continue;
        if (child.HasChildren()) BuildChildren(child, control, manager);
        if (parent != nullptr) {
            if (!containerLooked) {
                container = static_cast<IContainerUI*>(parent->InterfaceFor(UI_TEXT("IContainer")));
                containerLooked = true;
            }
            if (container == nullptr) {
                delete control;
                return nullptr;
            }
            if (!container->Add(control)) {
                delete control;
                continue;
            }
        }
        if (manager != nullptr) {
            control->AttachToManager(manager, nullptr, false);
            const UiChar* defaults = manager->ClassDefaults(name);
            if (defaults != nullptr) control->ApplyAttributeString(defaults);
        }
        const int attributes = child.AttributeCount();
        for (int i = 0; i < attributes; ++i)
            control->SetAttribute(child.AttributeName(i), child.AttributeValue(i));
        if (manager != nullptr) control->AttachToManager(nullptr, nullptr, false);
        if (result == nullptr) {
            result = control;
        } else if (parent == nullptr) {
            leftOver.Add(control);
        }
    }
    for (int i = 0; i < leftOver.GetSize(); ++i) delete static_cast<CControlUI*>(leftOver.GetAt(i));
    return result;
}

}  // namespace SkinUI
