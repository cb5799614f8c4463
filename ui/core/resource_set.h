// The resource records of the UI framework: FontEntry and ResourceSet
// (Windows only: fonts are GDI objects).
//
// A ResourceSet owns what its maps point to: fonts map to FontEntry*, images
// to ImageEntry*, class defaults and language strings to UiString*. Every
// CManagerUI has one set of its own; one more is shared by the process.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/string_ptr_map.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

struct FontEntry {
    FontEntry() = default;
    FontEntry(const FontEntry&) = delete;
    FontEntry& operator=(const FontEntry&) = delete;
    ~FontEntry();  // deletes the font

    HFONT font = nullptr;  // owned
    UiString face;
    int32_t size = 0;  // pixels, positive
    uint8_t bold = 0;
    uint8_t underline = 0;
    uint8_t italic = 0;
    TEXTMETRICW metrics = {};  // all zero until first needed (tmHeight 0: not filled)
};

// The default colours a set starts with (ARGB).
constexpr uint32_t kDefaultDisabledTextColor = 0xFFA7A6AA;
constexpr uint32_t kDefaultTextColor = 0xFF000000;
constexpr uint32_t kDefaultLinkColor = 0xFF0000FF;
constexpr uint32_t kDefaultLinkHoverColor = 0xFFD3215F;
constexpr uint32_t kDefaultSelectedBackColor = 0xFFBAE4FF;

struct ResourceSet {
    ResourceSet() = default;
    ResourceSet(const ResourceSet&) = delete;
    ResourceSet& operator=(const ResourceSet&) = delete;
    ~ResourceSet();

    void DropFonts();   // every FontEntry and its font
    void DropImages();  // every ImageEntry
    void DropClassDefaults();
    void DropLanguageStrings();
    // Deletes the default font's handle and clears the entry.
    void DropDefaultFont();

    uint32_t disabledTextColor = kDefaultDisabledTextColor;
    uint32_t textColor = kDefaultTextColor;
    uint32_t linkColor = kDefaultLinkColor;
    uint32_t linkHoverColor = kDefaultLinkHoverColor;
    uint32_t selectedBackColor = kDefaultSelectedBackColor;
    FontEntry defaultFont;
    StringPtrMap fonts;            // decimal font id -> FontEntry*
    StringPtrMap images;           // image name as written in the skin -> ImageEntry*
    StringPtrMap classDefaults;    // skin element name -> UiString* (attribute text)
    StringPtrMap languageStrings;  // decimal id -> UiString*; used in the shared set only
};

// The colour rule of the "shared" setters: a manager's own value follows a
// shared change while it still equals the shared value; other managers keep
// their copies.
inline void ChangeResourceColor(uint32_t* own, uint32_t* shared, uint32_t color, bool toShared) {
    if (toShared) {
        if (*own == *shared) *own = color;
        *shared = color;
    } else {
        *own = color;
    }
}

}  // namespace SkinUI
