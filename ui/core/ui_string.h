// UiString: the framework's UTF-16 string value.
//
// Short strings (up to 63 characters) live in an inline buffer, longer ones on
// the heap. Positions and lengths are in UTF-16 code units. The text is always
// zero-terminated, so Data() can be handed to C-string APIs.
#pragma once

#include <cstdarg>

#include "ui/core/ui_char.h"

namespace SkinUI {

class UiString {
public:
    static constexpr int kInlineCapacity = 64;  // characters, terminator included

    UiString();
    UiString(const UiChar* text);  // NOLINT: implicit on purpose, like a literal
    UiString(const UiChar* text, int length);
    explicit UiString(UiChar c);
    UiString(const UiString& other);
    UiString(UiString&& other) noexcept;
    ~UiString();

    UiString& operator=(const UiString& other);
    UiString& operator=(UiString&& other) noexcept;
    UiString& operator=(const UiChar* text);

    // Text in the ANSI code page (UTF-8 on non-Windows builds); length -1 means
    // zero-terminated.
    void AssignAnsi(const char* text, int length = -1);
    static UiString FromAnsi(const char* text, int length = -1);

    // length -1 means zero-terminated.
    void Assign(const UiChar* text, int length = -1);
    void Append(const UiChar* text, int length = -1);
    void Append(UiChar c);
    UiString& operator+=(const UiChar* text) {
        Append(text);
        return *this;
    }
    UiString& operator+=(const UiString& text) {
        Append(text.Data(), text.Length());
        return *this;
    }
    UiString& operator+=(UiChar c) {
        Append(c);
        return *this;
    }

    const UiChar* Data() const { return data_; }
    operator const UiChar*() const { return data_; }  // NOLINT: string-like use
    int Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    void Empty();

    // Character at index; 0 outside the string.
    UiChar At(int index) const;
    // Replaces one character; asserts on an index outside the string.
    void SetAt(int index, UiChar c);

    int Compare(const UiChar* text) const;
    int CompareNoCase(const UiChar* text) const;  // ASCII letters only
    bool operator==(const UiChar* text) const { return Compare(text) == 0; }
    bool operator!=(const UiChar* text) const { return Compare(text) != 0; }
    bool operator==(const UiString& text) const { return Compare(text.Data()) == 0; }
    bool operator!=(const UiString& text) const { return Compare(text.Data()) != 0; }

    // Position of the first match at or after start, or -1.
    int Find(UiChar c, int start = 0) const;
    int Find(const UiChar* text, int start = 0) const;
    int ReverseFind(UiChar c) const;

    // Sub-strings; positions and lengths are clamped to the string.
    UiString Mid(int start, int length = -1) const;
    UiString Left(int length) const;
    UiString Right(int length) const;

    // Replaces every occurrence of from (non-empty) by to; returns the count.
    int Replace(const UiChar* from, const UiChar* to);

    // ASCII case conversion.
    void MakeUpper();
    void MakeLower();

    // printf-style formatting, replacing the content. Supported conversions:
    // %d %i %u %x %X %c %s (UiChar string) %% with flags "-" and "0", a width
    // and, for %s, a precision. Other conversions are copied literally. Returns
    // the new length.
    int Format(const UiChar* format, ...);
    int FormatV(const UiChar* format, va_list args);

private:
    void Reserve(int length);  // capacity for length characters plus terminator

    UiChar* data_;
    int length_ = 0;
    int capacity_ = kInlineCapacity;  // characters, terminator included
    UiChar inline_[kInlineCapacity];
};

UiString operator+(const UiString& a, const UiChar* b);
UiString operator+(const UiString& a, const UiString& b);

}  // namespace SkinUI
