// Text helpers for the skin tests: tables are written in UTF-8 and compared
// as UTF-8, so failures print readably on every platform.
#pragma once

#include <string>

#include "ui/core/text_convert.h"
#include "ui/core/ui_string.h"

namespace kelo_test {

inline SkinUI::UiString W(const std::string& utf8) {
    SkinUI::UiString s;
    if (utf8.empty()) return s;
    std::basic_string<SkinUI::UiChar> buffer(utf8.size(), 0);
    size_t n = SkinUI::DecodeUtf8(utf8.data(), utf8.size(), &buffer[0]);
    s.Assign(buffer.data(), static_cast<int>(n));
    return s;
}

inline std::string U8(const SkinUI::UiChar* text) {
    return text == nullptr ? std::string("<null>") : SkinUI::UiToUtf8(text);
}

}  // namespace kelo_test
