// CManagerUI: fonts of the own and the shared resource set.
#include <cwchar>
#include <initializer_list>

#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

UiString DecimalKey(int id) {
    UiString key;
    key.Format(UI_TEXT("%d"), id);
    return key;
}

bool SameFont(const FontEntry* e, const UiChar* face, int size, bool bold, bool underline, bool italic) {
    return e->face == face && e->size == size && (e->bold != 0) == bold && (e->underline != 0) == underline &&
           (e->italic != 0) == italic;
}

}  // namespace

HFONT CManagerUI::CreateSkinFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                                 bool proof) {
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    // The face is cut to the LOGFONT's 32 characters, terminator included.
    wcsncpy(lf.lfFaceName, face != nullptr ? face : L"", LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold) lf.lfWeight = FW_BOLD;
    if (underline) lf.lfUnderline = 1;
    if (italic) lf.lfItalic = 1;
    if (proof) lf.lfQuality = PROOF_QUALITY;
    return CreateFontIndirectW(&lf);
}

FontEntry* CManagerUI::WithMetrics(FontEntry* entry) {
    if (entry != nullptr && entry->metrics.tmHeight == 0 && paintDC_ != nullptr && entry->font != nullptr) {
        HGDIOBJ old = SelectObject(paintDC_, entry->font);
        GetTextMetricsW(paintDC_, &entry->metrics);
        SelectObject(paintDC_, old);
    }
    return entry;
}

FontEntry* CManagerUI::DefaultFont() {
    return WithMetrics(own_.defaultFont.face.IsEmpty() ? &SharedResources().defaultFont : &own_.defaultFont);
}

void CManagerUI::ReplaceDefaultFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                                    bool shared) {
    HFONT font = CreateSkinFont(face, size, bold, underline, italic, false);
    if (font == nullptr) return;
    ResourceSet& set = shared ? SharedResources() : own_;
    set.DropDefaultFont();
    FontEntry& entry = set.defaultFont;
    entry.font = font;
    entry.face = face;
    entry.size = size;
    entry.bold = bold;
    entry.underline = underline;
    entry.italic = italic;
    WithMetrics(&entry);
}

HFONT CManagerUI::StoreFont(int id, const UiChar* face, int size, bool bold, bool underline, bool italic,
                            bool shared) {
    HFONT font = CreateSkinFont(face, size, bold, underline, italic, true);
    if (font == nullptr) return nullptr;
    FontEntry* entry = new FontEntry();
    entry->font = font;
    entry->face = face;
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    WithMetrics(entry);
    StringPtrMap& fonts = (shared ? SharedResources() : own_).fonts;
    const UiString key = DecimalKey(id);
    FontEntry* old = static_cast<FontEntry*>(fonts.Find(key.Data()));
    if (old != nullptr) {
        fonts.Remove(key.Data());
        delete old;
    }
    if (!fonts.Insert(key.Data(), entry)) {
        delete entry;
        return nullptr;
    }
    return font;
}

FontEntry* CManagerUI::FontInfo(int id) {
    if (id >= 0) {
        const UiString key = DecimalKey(id);
        FontEntry* entry = static_cast<FontEntry*>(own_.fonts.Find(key.Data()));
        if (entry == nullptr) entry = static_cast<FontEntry*>(SharedResources().fonts.Find(key.Data()));
        if (entry != nullptr) return WithMetrics(entry);
    }
    return DefaultFont();
}

HFONT CManagerUI::FontHandle(int id) {
    FontEntry* entry = FontInfo(id);
    return entry != nullptr ? entry->font : nullptr;
}

FontEntry* CManagerUI::FontInfoOfHandle(HFONT font) {
    if (font != nullptr) {
        for (StringPtrMap* fonts : {&own_.fonts, &SharedResources().fonts}) {
            for (int i = 0; i < fonts->GetSize(); ++i) {
                FontEntry* entry = static_cast<FontEntry*>(fonts->DataAt(i));
                if (entry != nullptr && entry->font == font) return WithMetrics(entry);
            }
        }
    }
    return DefaultFont();
}

HFONT CManagerUI::FindFontHandle(const UiChar* face, int size, bool bold, bool underline, bool italic) {
    for (StringPtrMap* fonts : {&own_.fonts, &SharedResources().fonts}) {
        for (int i = 0; i < fonts->GetSize(); ++i) {
            FontEntry* entry = static_cast<FontEntry*>(fonts->DataAt(i));
            if (entry != nullptr && SameFont(entry, face, size, bold, underline, italic)) return entry->font;
        }
    }
    return nullptr;
}

void CManagerUI::DropAllFonts(bool shared) {
    (shared ? SharedResources() : own_).DropFonts();
}

}  // namespace SkinUI
