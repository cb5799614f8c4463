// ImageSpec: a control's parsed image attribute, and the parser of the
// attribute text ("png/bk.png", or key='value' pairs such as
// "file='png/btn.png' corner='4,4,4,4' fade='128'").
//
// A control owns its specs; the painter resolves a spec on its first draw and
// keeps the image it found (the image itself lives in a ResourceSet).
#pragma once

#include <cstdint>

#include "ui/core/painter_geometry.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

struct ImageEntry;

struct ImageSpec {
    UiString text;                // the attribute value as written
    UiString imageName;           // the image name resolved ("file"/"res" value, or the whole text)
    uint8_t tried = 0;            // parsing and loading was attempted
    ImageEntry* image = nullptr;  // the loaded image, not owned; null until found
    UiRect dest = {};             // inside the item rectangle; all 0 = the whole item
    UiRect source = {};           // part of the image; all 0 until resolved = the whole image
    UiRect corner = {};           // nine-grid borders (left, top, right, bottom) in image pixels
    uint8_t fade = 255;           // constant alpha
    uint8_t hole = 0;             // do not draw the centre
    uint8_t xtiled = 0;           // tile the centre horizontally
    uint8_t ytiled = 0;           // tile the centre vertically
};

// Empties both strings, zeroes everything from `tried` on, sets fade to 255.
void ResetImageSpec(ImageSpec* spec);

// Resets the ImageSpec and stores a new attribute text (what a control does when
// its image attribute changes).
void SetImageSpecText(ImageSpec* spec, const UiChar* text);

// What the attribute text says about loading the image.
struct ImageLoadOptions {
    UiString name;            // "file" or "res" value; the whole text when neither is given
    bool isResource = false;  // "res" was given: name is a decimal resource id
    UiString resourceType;    // "restype"; used only with isResource
    uint32_t mask = 0;        // "mask": colour key made transparent at load
    bool hsl = false;         // "hsl": keep a pixel copy for HSL adjustment
};

// Parses text into options and the ImageSpec's dest, source, corner, fade, hole,
// xtiled and ytiled. Keys are exact; unknown keys and empty values are
// skipped; pairs must be separated by at least one space, so parsing stops at
// anything else after a closing quote.
void ParseImageSpecText(const UiChar* text, ImageSpec* spec, ImageLoadOptions* options);

// Reads a decimal number like wcstol: leading spaces, an optional sign, then
// digits. *end is set after the last character used (to text when none).
long ParseUiLong(const UiChar* text, const UiChar** end, int base = 10);

}  // namespace SkinUI
