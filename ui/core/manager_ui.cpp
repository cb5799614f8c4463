#include "ui/core/manager_ui.h"

#include <commctrl.h>

#include "ui/core/language_tokens.h"

namespace SkinUI {

namespace {

UiString DecimalKey(int id) {
    UiString key;
    key.Format(UI_TEXT("%d"), id);
    return key;
}

void StoreText(StringPtrMap& map, const UiChar* key, const UiChar* text) {
    delete static_cast<UiString*>(map.Set(key, new UiString(text)));
}

}  // namespace

ResourceSet& CManagerUI::SharedResources() {
    static ResourceSet shared;
    return shared;
}

CManagerUI::CManagerUI() {
    // Once per process: the tooltip class, and the alpha-blending library
    // the painter relies on. Neither is released.
    static const bool platformReady = [] {
        InitCommonControls();
        LoadLibraryW(L"msimg32.dll");
        return true;
    }();
    (void)platformReady;
    ResourceSet& shared = SharedResources();
    if (shared.defaultFont.face.IsEmpty()) InitSharedResources();
    own_.disabledTextColor = shared.disabledTextColor;
    own_.textColor = shared.textColor;
    own_.linkColor = shared.linkColor;
    own_.linkHoverColor = shared.linkHoverColor;
    own_.selectedBackColor = shared.selectedBackColor;
}

CManagerUI::~CManagerUI() {
    ReleaseControlTree();
    own_.DropDefaultFont();
    own_.DropFonts();
    own_.DropImages();
    own_.DropClassDefaults();
}

// The shared set starts with the stock GUI font as its default font.
void CManagerUI::InitSharedResources() {
    ResourceSet& shared = SharedResources();
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr) return;
    shared.DropDefaultFont();
    shared.defaultFont.font = font;
    shared.defaultFont.face = lf.lfFaceName;
    shared.defaultFont.size = -lf.lfHeight;
    shared.defaultFont.bold = lf.lfWeight >= FW_BOLD;
    shared.defaultFont.underline = lf.lfUnderline == 1;
    shared.defaultFont.italic = lf.lfItalic == 1;
}

void CManagerUI::ChangeDefaultDisabledColor(uint32_t color, bool shared) {
    ChangeResourceColor(&own_.disabledTextColor, &SharedResources().disabledTextColor, color, shared);
}

void CManagerUI::ChangeDefaultTextColor(uint32_t color, bool shared) {
    ChangeResourceColor(&own_.textColor, &SharedResources().textColor, color, shared);
}

void CManagerUI::ChangeDefaultLinkColor(uint32_t color, bool shared) {
    ChangeResourceColor(&own_.linkColor, &SharedResources().linkColor, color, shared);
}

void CManagerUI::ChangeDefaultLinkHoverColor(uint32_t color, bool shared) {
    ChangeResourceColor(&own_.linkHoverColor, &SharedResources().linkHoverColor, color, shared);
}

void CManagerUI::ChangeDefaultSelectedBackColor(uint32_t color, bool shared) {
    ChangeResourceColor(&own_.selectedBackColor, &SharedResources().selectedBackColor, color, shared);
}

void CManagerUI::SetClassDefaults(const UiChar* className, const UiChar* attributes, bool shared) {
    if (className == nullptr) return;
    StoreText(shared ? SharedResources().classDefaults : own_.classDefaults, className, attributes);
}

const UiChar* CManagerUI::ClassDefaults(const UiChar* className) const {
    if (className == nullptr) return nullptr;
    const UiString* text = static_cast<const UiString*>(own_.classDefaults.Find(className));
    if (text == nullptr) text = static_cast<const UiString*>(SharedResources().classDefaults.Find(className));
    return text != nullptr ? text->Data() : nullptr;
}

void CManagerUI::DropAllClassDefaults(bool shared) {
    (shared ? SharedResources() : own_).DropClassDefaults();
}

void CManagerUI::AddLanguageString(int id, const UiChar* text) {
    StoreText(SharedResources().languageStrings, DecimalKey(id).Data(), text);
}

const UiChar* CManagerUI::GetLanguageString(int id) {
    const UiString* text =
        static_cast<const UiString*>(SharedResources().languageStrings.Find(DecimalKey(id).Data()));
    return text != nullptr ? text->Data() : nullptr;
}

void CManagerUI::ExpandLanguageTokens(UiString& text) {
    SkinUI::ExpandLanguageTokens(&text, SharedResources().languageStrings);
}

}  // namespace SkinUI
