#include "ui/skin/image_entry.h"

#include <memory>
#include <vector>

#include "ui/skin/skin_image_pixels.h"
#include "ui/skin/skin_sources.h"

namespace SkinUI {

ImageEntry::~ImageEntry() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    delete[] srcBits;
}

namespace {

bool ReadResourceBytes(const UiChar* name, const UiChar* type, std::vector<unsigned char>* bytes) {
    HMODULE module = static_cast<HMODULE>(SkinSources::ResourceModule());
    HRSRC resource = FindResourceW(module, name, type);
    if (resource == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return false;
    const unsigned char* b = static_cast<const unsigned char*>(data);
    bytes->assign(b, b + size);
    return true;
}

}  // namespace

ImageEntry* MakeImageEntry(const void* bytes, size_t length, uint32_t mask) {
    RgbaImage image;
    if (!DecodeImageRgba(bytes, length, &image)) return nullptr;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(ImagePixelBytes(image.width, image.height));
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        return nullptr;
    }
    ConvertToPremultipliedBgra(image.rgba.get(), size_t(image.width) * size_t(image.height), mask,
                               static_cast<unsigned char*>(bits));

    ImageEntry* entry = new ImageEntry();
    entry->bitmap = bitmap;
    entry->bits = static_cast<uint8_t*>(bits);
    entry->width = image.width;
    entry->height = image.height;
    return entry;
}

ImageEntry* LoadImageEntry(const UiChar* name, const UiChar* resourceType, uint32_t mask) {
    if (name == nullptr) return nullptr;
    std::vector<unsigned char> bytes;
    if (resourceType != nullptr) {
        if (!ReadResourceBytes(name, resourceType, &bytes)) return nullptr;
    } else if (ReadSkinFile(name, 0, &bytes) != SkinFileStatus::kOk &&
               ReadFileBytes(name, 0, &bytes) != SkinFileStatus::kOk) {
        return nullptr;
    }
    return MakeImageEntry(bytes.data(), bytes.size(), mask);
}

}  // namespace SkinUI
