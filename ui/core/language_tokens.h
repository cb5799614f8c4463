// Language tokens: "%{12}" in a skin text stands for the language string
// stored under id 12.
#pragma once

#include "ui/core/string_ptr_map.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

// Replaces every token "%{digits}" whose id (the digits in decimal; none means
// 0) has a string in strings (keys: decimal ids, values: UiString*) by that
// string; every occurrence of a token is replaced at once. Tokens without a
// stored string stay as they are. Replacement texts are not scanned again, so
// a string that contains its own token cannot make the expansion run forever.
void ExpandLanguageTokens(UiString* text, const StringPtrMap& strings);

}  // namespace SkinUI
