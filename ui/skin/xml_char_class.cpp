#include "ui/skin/xml_char_class.h"

#ifdef _WIN32
#include <cwctype>
#endif

namespace SkinUI {
namespace xml {

namespace {

constexpr uint8_t ClassOf(int c) {
    return static_cast<uint8_t>(
        ((c >= 1 && c <= 32) ? kSpace : 0) |
        (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':')
             ? kNameChar
             : 0) |
        ((c == 0 || c == '&' || c == '<' || c == '"') ? kDataStop : 0));
}

}  // namespace

#define SKIN_XML_CLASS_ROW(n)                                                                   \
    ClassOf(n), ClassOf(n + 1), ClassOf(n + 2), ClassOf(n + 3), ClassOf(n + 4), ClassOf(n + 5), \
        ClassOf(n + 6), ClassOf(n + 7)
const uint8_t kAsciiClass[128] = {
    SKIN_XML_CLASS_ROW(0),  SKIN_XML_CLASS_ROW(8),   SKIN_XML_CLASS_ROW(16),  SKIN_XML_CLASS_ROW(24),
    SKIN_XML_CLASS_ROW(32), SKIN_XML_CLASS_ROW(40),  SKIN_XML_CLASS_ROW(48),  SKIN_XML_CLASS_ROW(56),
    SKIN_XML_CLASS_ROW(64), SKIN_XML_CLASS_ROW(72),  SKIN_XML_CLASS_ROW(80),  SKIN_XML_CLASS_ROW(88),
    SKIN_XML_CLASS_ROW(96), SKIN_XML_CLASS_ROW(104), SKIN_XML_CLASS_ROW(112), SKIN_XML_CLASS_ROW(120),
};
#undef SKIN_XML_CLASS_ROW

bool IsWideNameChar(UiChar c) {
#ifdef _WIN32
    return iswalnum(c) != 0;
#else
    if (c < 0xC0) {
        // Latin-1 supplement: only the few letters and digits below U+00C0.
        return c == 0xAA || c == 0xB2 || c == 0xB3 || c == 0xB5 || c == 0xB9 || c == 0xBA;
    }
    if (c == 0xD7 || c == 0xF7) return false;      // multiplication and division signs
    if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, symbols, arrows, shapes
    if (c >= 0x3000 && c <= 0x303F) return false;  // CJK symbols and punctuation
    if (c >= 0xD800 && c <= 0xF8FF) return false;  // surrogates and private use
    if (c >= 0xFE10 && c <= 0xFE6F) return false;  // vertical, small and compatibility forms
    if (c >= 0xFF00 && c <= 0xFF0F) return false;  // full-width punctuation
    if (c >= 0xFF1A && c <= 0xFF20) return false;
    if (c >= 0xFF3B && c <= 0xFF40) return false;
    if (c >= 0xFF5B && c <= 0xFF65) return false;
    if (c >= 0xFFF0) return false;  // specials
    return true;
#endif
}

}  // namespace xml
}  // namespace SkinUI
