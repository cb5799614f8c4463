// The UI framework's UTF-16 code unit and the few C-string helpers built on it.
//
// On Windows `UiChar` is wchar_t, so framework strings go straight to the wide
// Win32 API. Natively (tests, fuzzers, sanitizers, tools) it is char16_t, which
// has the same size and meaning; wchar_t is 32 bits there and is never used for
// framework text. Write literals with UI_TEXT("...") so they get the right type
// on both.
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

#ifdef _WIN32
using UiChar = wchar_t;
#define UI_TEXT_IMPL(s) L##s
#else
using UiChar = char16_t;
#define UI_TEXT_IMPL(s) u##s
#endif
#define UI_TEXT(s) UI_TEXT_IMPL(s)

static_assert(sizeof(UiChar) == 2, "framework text is UTF-16");

// Length of a zero-terminated string; null counts as empty.
inline size_t UiStrLen(const UiChar* s) {
    if (s == nullptr) return 0;
    const UiChar* p = s;
    while (*p != 0) ++p;
    return static_cast<size_t>(p - s);
}

// Exact comparison (code unit order); null counts as empty.
int UiStrCmp(const UiChar* a, const UiChar* b);

// Comparison ignoring the case of ASCII letters only, so the result does not
// depend on a locale.
int UiStrCmpNoCase(const UiChar* a, const UiChar* b);

inline bool UiStrEq(const UiChar* a, const UiChar* b) {
    return UiStrCmp(a, b) == 0;
}

// ASCII case mapping; other characters are returned unchanged.
inline UiChar UiToLower(UiChar c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<UiChar>(c + 32) : c;
}
inline UiChar UiToUpper(UiChar c) {
    return (c >= 'a' && c <= 'z') ? static_cast<UiChar>(c - 32) : c;
}

}  // namespace SkinUI
