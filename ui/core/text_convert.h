// Conversions between byte text and the framework's UTF-16 text.
//
// "ANSI" is the system code page on Windows; on other systems, where the
// framework only runs for tests and tools, it is UTF-8.
#pragma once

#include <cstddef>
#include <string>

#include "ui/core/ui_char.h"

namespace SkinUI {

// Decodes UTF-8 into dst, which must hold at least `length` units (UTF-16
// never needs more units than UTF-8 has bytes). Invalid sequences become
// U+FFFD. Returns the number of units written; adds no terminator.
size_t DecodeUtf8(const char* src, size_t length, UiChar* dst);

// Number of UTF-16 units DecodeUtf8 would write.
size_t DecodedUtf8Length(const char* src, size_t length);

// Converts UTF-8 or ANSI bytes to a new zero-terminated buffer allocated with
// new[]; *units receives the length without the terminator. `padding` more
// zero units follow the terminator (for readers that scan in blocks). Returns
// null when the conversion fails.
UiChar* NewUtf16FromUtf8(const char* src, size_t length, size_t* units, size_t padding = 0);
UiChar* NewUtf16FromAnsi(const char* src, size_t length, size_t* units, size_t padding = 0);

// Converts ANSI bytes into dst, which holds capacity units; the result is
// cut to capacity - 1 units and terminated. Returns the units written.
size_t AnsiToUiBuffer(const char* src, size_t length, UiChar* dst, size_t capacity);

std::string UiToUtf8(const UiChar* text);
std::string UiToAnsi(const UiChar* text);

}  // namespace SkinUI
