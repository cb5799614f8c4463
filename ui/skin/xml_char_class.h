// Character classes of the skin markup parser.
#pragma once

#include <cstdint>

#include "ui/core/ui_char.h"

namespace SkinUI {
namespace xml {

enum : uint8_t {
    kSpace = 1,     // 1 .. 32: space and every control character
    kNameChar = 2,  // ASCII letters and digits, "_" and ":"
    kDataStop = 4,  // characters that end a fast scan of character data: 0, "&", "<", '"'
};

extern const uint8_t kAsciiClass[128];

inline bool IsSpace(UiChar c) {
    return c >= 1 && c <= 32;
}

// Letters and digits outside ASCII. On Windows this is the runtime's wide
// character classification; elsewhere a fixed approximation of it (the
// Unicode punctuation, symbol, surrogate and private-use blocks are not name
// characters, everything else is).
bool IsWideNameChar(UiChar c);

inline bool IsNameChar(UiChar c) {
    if (c < 128) return (kAsciiClass[c] & kNameChar) != 0;
    return IsWideNameChar(c);
}

}  // namespace xml
}  // namespace SkinUI
