#include "ui/core/resource_set.h"

#include "ui/skin/image_entry.h"

namespace SkinUI {

FontEntry::~FontEntry() {
    if (font != nullptr) DeleteObject(font);
}

ResourceSet::~ResourceSet() {
    DropFonts();
    DropImages();
    DropClassDefaults();
    DropLanguageStrings();
}

void ResourceSet::DropFonts() {
    for (int i = 0; i < fonts.GetSize(); ++i) delete static_cast<FontEntry*>(fonts.DataAt(i));
    fonts.RemoveAll();
}

void ResourceSet::DropImages() {
    for (int i = 0; i < images.GetSize(); ++i) delete static_cast<ImageEntry*>(images.DataAt(i));
    images.RemoveAll();
}

void ResourceSet::DropClassDefaults() {
    for (int i = 0; i < classDefaults.GetSize(); ++i) delete static_cast<UiString*>(classDefaults.DataAt(i));
    classDefaults.RemoveAll();
}

void ResourceSet::DropLanguageStrings() {
    for (int i = 0; i < languageStrings.GetSize(); ++i)
        delete static_cast<UiString*>(languageStrings.DataAt(i));
    languageStrings.RemoveAll();
}

void ResourceSet::DropDefaultFont() {
    if (defaultFont.font != nullptr) DeleteObject(defaultFont.font);
    defaultFont.font = nullptr;
    defaultFont.face.Empty();
    defaultFont.size = 0;
    defaultFont.bold = defaultFont.underline = defaultFont.italic = 0;
    defaultFont.metrics = TEXTMETRICW{};
}

}  // namespace SkinUI
