// The layout engine of the markup text routine: the tokenizer of the markup
// language and the line layout, in plain code. Fonts, measuring and drawing
// go through MarkupSurface, which the painter implements over GDI and tests
// implement with fixed-width glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/core/painter_geometry.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

// DrawText format flags the layout understands.
enum MarkupFormat : unsigned {
    kMarkupCenter = 0x1,
    kMarkupRight = 0x2,
    kMarkupVCenter = 0x4,
    kMarkupBottom = 0x8,
    kMarkupWordBreak = 0x10,
    kMarkupSingleLine = 0x20,
    kMarkupCalcRect = 0x400,
    kMarkupEndEllipsis = 0x8000,
};

// One token of markup text, starting at `start` and `length` code units long.
struct MarkupToken {
    enum Kind { kEnd, kText, kNewLine, kOpenTag, kCloseTag };
    Kind kind = kEnd;
    int start = 0;
    int length = 0;
    UiChar letter = 0;   // tags: the tag letter
    int paramStart = 0;  // open tags: the parameters after the space
    int paramLength = 0;
    UiChar escaped = 0;  // a text token that is one escape: the character it draws
};

// Reads the token at pos. Text runs stop before a line feed, a tag or an
// escape; in raw mode only the closing tag of r ends the text.
MarkupToken ReadMarkupToken(const UiChar* text, int length, int pos, bool raw);

using MarkupFont = const void*;  // an opaque font handle of the surface

struct MarkupFontStyle {
    UiString face;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

struct MarkupImage {
    const void* handle = nullptr;  // opaque image of the surface
    int width = 0;
    int height = 0;
};

class MarkupSurface {
public:
    virtual ~MarkupSurface() = default;
    virtual MarkupFont DefaultFont() = 0;
    // The window's font of that id (the default font when there is none).
    virtual MarkupFont FontById(int id) = 0;
    virtual MarkupFontStyle StyleOf(MarkupFont font) = 0;
    // A font of that style: an existing one or a new one; null on failure.
    virtual MarkupFont FindOrCreateFont(const MarkupFontStyle& style) = 0;
    // tmHeight + tmExternalLeading of a font.
    virtual int LineHeightOf(MarkupFont font) = 0;
    virtual void SelectFont(MarkupFont font) = 0;
    // Width of text in the selected font.
    virtual int TextWidth(const UiChar* text, int length) = 0;
    // The trailing (C) width of a space in the selected font.
    virtual int SpaceTrailingWidth() = 0;
    virtual bool FindImage(const UiString& name, const UiChar* resourceType, uint32_t mask,
                           MarkupImage* image) = 0;
    // Text at (x, y) top-left in the selected font; rgb is 0x00RRGGBB.
    virtual void DrawText(int x, int y, const UiChar* text, int length, uint32_t rgb, bool selected) = 0;
    virtual void DrawImage(const MarkupImage& image, const UiRect& dest, const UiRect& source) = 0;
};

struct MarkupLink {
    UiRect rect;
    UiString text;
};

struct MarkupLayoutInput {
    UiRect rect = {};
    unsigned format = 0;
    uint32_t textRgb = 0;
    uint32_t linkRgb = 0;
    uint32_t linkHoverRgb = 0;
    int mouseX = -1;
    int mouseY = -1;
    std::vector<MarkupLink> previousLinks;  // the link rectangles of the last draw, for hover
    int linkCapacity = 0;
};

struct MarkupLayoutOutput {
    UiRect used = {};  // measure mode: the rectangle the text needs
    std::vector<MarkupLink> links;
};

// Lays out (and, without kMarkupCalcRect, draws) markup text. The text must
// already have its language tokens expanded.
void LayoutMarkup(MarkupSurface& surface, const UiChar* text, const MarkupLayoutInput& input,
                  MarkupLayoutOutput* output);

// Fonts created for markup get ids from 30000 upward, process-wide.
int NextMarkupFontId();

}  // namespace SkinUI
