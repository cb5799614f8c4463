// ImageEntry: one decoded skin image, and LoadImageEntry, which makes one
// (Windows only: the pixels live in a GDI DIB section).
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/ui_string.h"

namespace SkinUI {

// A 32-bit top-down DIB section holding premultiplied BGRA pixels. Deleting
// the entry deletes the bitmap (and with it its pixels) and the pixel copy.
struct ImageEntry {
    ImageEntry() = default;
    ImageEntry(const ImageEntry&) = delete;
    ImageEntry& operator=(const ImageEntry&) = delete;
    ~ImageEntry();

    HBITMAP bitmap = nullptr;    // owned
    uint8_t* bits = nullptr;     // the DIB's pixels: width * height * 4 bytes
    uint8_t* srcBits = nullptr;  // owned copy of the pixels for HSL adjustment, or null
    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = true;
    bool useHSL = false;
    UiString resType;   // resource type the image came from; empty for files
    uint32_t mask = 0;  // colour made transparent at load; 0 for none
};

// Loads an image. With a resource type, name is the resource name (an integer
// resource made with MAKEINTRESOURCEW for numeric ids) in the resource module
// and no other source is tried. Without one, the image comes from the skin
// folder or the skin archive, falling back to name as a path of its own.
// Pixels equal to mask after premultiplication become transparent. Returns a
// new entry the caller owns, or null.
ImageEntry* LoadImageEntry(const UiChar* name, const UiChar* resourceType, uint32_t mask);

// Makes an entry from image bytes in memory (the decoding step of
// LoadImageEntry).
ImageEntry* MakeImageEntry(const void* bytes, size_t length, uint32_t mask);

}  // namespace SkinUI
