// CManagerUI: images of the own and the shared resource set.
#include <cstring>

#include "ui/core/manager_ui.h"
#include "ui/skin/image_entry.h"

namespace SkinUI {

ImageEntry* CManagerUI::FindImage(const UiChar* name) const {
    if (name == nullptr) return nullptr;
    ImageEntry* image = static_cast<ImageEntry*>(own_.images.Find(name));
    if (image == nullptr) image = static_cast<ImageEntry*>(SharedResources().images.Find(name));
    return image;
}

ImageEntry* CManagerUI::LoadNamedImage(const UiChar* name, const UiChar* resourceType, uint32_t mask,
                                       bool useHSL, bool shared) {
    if (name == nullptr || *name == 0) return nullptr;
    ImageEntry* image = nullptr;
    if (resourceType != nullptr) {
        if (name[0] < '0' || name[0] > '9') return nullptr;
        // The id is read like atoi and cut to the 16 bits of a resource id.
        unsigned id = 0;
        for (const UiChar* p = name; *p >= '0' && *p <= '9'; ++p)
            id = (id * 10 + unsigned(*p - '0')) & 0xFFFF;
        image = LoadImageEntry(MAKEINTRESOURCEW(id), resourceType, mask);
    } else {
        image = LoadImageEntry(name, nullptr, mask);
    }
    if (image == nullptr) return nullptr;

    image->useHSL = useHSL;
    if (resourceType != nullptr) image->resType = resourceType;
    image->mask = mask;
    if (useHSL) {
        const size_t bytes = size_t(image->width) * size_t(image->height) * 4;
        image->srcBits = new uint8_t[bytes];
        std::memcpy(image->srcBits, image->bits, bytes);
    }
    // The window HSL never leaves its neutral setting in this program, so
    // there is no adjustment to apply to a freshly loaded image.

    StringPtrMap& images = (shared ? SharedResources() : own_).images;
    ImageEntry* old = static_cast<ImageEntry*>(images.Find(name));
    if (old != nullptr) {
        images.Remove(name);
        delete old;
    }
    if (!images.Insert(name, image)) {
        delete image;
        return nullptr;
    }
    return image;
}

ImageEntry* CManagerUI::FindOrLoadImage(const UiChar* name, const UiChar* resourceType, uint32_t mask,
                                        bool useHSL) {
    ImageEntry* image = FindImage(name);
    if (image == nullptr) image = LoadNamedImage(name, resourceType, mask, useHSL, false);
    return image;
}

void CManagerUI::DropAllImages(bool shared) {
    (shared ? SharedResources() : own_).DropImages();
}

}  // namespace SkinUI
