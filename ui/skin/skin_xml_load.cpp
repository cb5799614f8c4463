// Bringing bytes into a CSkinXml: text encodings and skin files.
#include <cstring>
#include <vector>

#include "ui/core/text_convert.h"
#include "ui/skin/skin_sources.h"
#include "ui/skin/skin_xml.h"

namespace SkinUI {

bool CSkinXml::ParseBytes(const void* bytes, size_t length, SkinTextEncoding encoding) {
    Clear();
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    if (b == nullptr) length = 0;
    UiChar* text = nullptr;
    size_t units = 0;
    switch (encoding) {
        case SkinTextEncoding::kUtf8:
            if (length > 2 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
                b += 3;
                length -= 3;
            }
            text = NewUtf16FromUtf8(reinterpret_cast<const char*>(b), length, &units, kTextPadding);
            break;
        case SkinTextEncoding::kAnsi:
            text = NewUtf16FromAnsi(reinterpret_cast<const char*>(b), length, &units, kTextPadding);
            break;
        case SkinTextEncoding::kUtf16: {
            if (length < 2) break;
            const bool bigEndian = (b[0] == 0xFE && b[1] == 0xFF);
            const bool littleEndian = (b[0] == 0xFF && b[1] == 0xFE);
            if (!bigEndian && !littleEndian) break;
            units = length / 2 - 1;
            text = new UiChar[units + 1 + kTextPadding];
            const unsigned char* src = b + 2;
            for (size_t i = 0; i < units; ++i, src += 2) {
                text[i] = static_cast<UiChar>(bigEndian ? (src[0] << 8) | src[1] : src[0] | (src[1] << 8));
            }
            std::memset(text + units, 0, (1 + kTextPadding) * sizeof(UiChar));
            break;
        }
    }
    if (text == nullptr) return FailLoad(UI_TEXT("Could not read text"));
    return ParseOwnedText(text);
}

bool CSkinXml::ParseFile(const UiChar* name, SkinTextEncoding encoding) {
    Clear();
    std::vector<unsigned char> bytes;
    bool fromArchive = false;
    switch (ReadSkinFile(name, kMaxFileSize, &bytes, &fromArchive)) {
        case SkinFileStatus::kOk:
            break;
        case SkinFileStatus::kOpenFailed:
            return FailLoad(fromArchive ? UI_TEXT("Error opening zip file") : UI_TEXT("Error opening file"));
        case SkinFileStatus::kNotFound:
            return FailLoad(UI_TEXT("Could not find ziped file"));
        case SkinFileStatus::kEmpty:
            return FailLoad(UI_TEXT("File is empty"));
        case SkinFileStatus::kTooLarge:
            return FailLoad(UI_TEXT("File too large"));
        case SkinFileStatus::kReadFailed:
            return FailLoad(fromArchive ? UI_TEXT("Could not unzip file") : UI_TEXT("Could not read file"));
    }
    return ParseBytes(bytes.data(), bytes.size(), encoding);
}

}  // namespace SkinUI
