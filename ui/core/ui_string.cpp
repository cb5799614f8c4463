#include "ui/core/ui_string.h"

#include <cassert>
#include <cstring>
#include <utility>

#include "ui/core/text_convert.h"

namespace SkinUI {

int UiStrCmp(const UiChar* a, const UiChar* b) {
    static const UiChar kEmpty = 0;
    if (a == nullptr) a = &kEmpty;
    if (b == nullptr) b = &kEmpty;
    while (*a != 0 && *a == *b) ++a, ++b;
    return (*a < *b) ? -1 : (*a > *b ? 1 : 0);
}

int UiStrCmpNoCase(const UiChar* a, const UiChar* b) {
    static const UiChar kEmpty = 0;
    if (a == nullptr) a = &kEmpty;
    if (b == nullptr) b = &kEmpty;
    while (*a != 0 && UiToLower(*a) == UiToLower(*b)) ++a, ++b;
    UiChar x = UiToLower(*a), y = UiToLower(*b);
    return (x < y) ? -1 : (x > y ? 1 : 0);
}

UiString::UiString() : data_(inline_) {
    inline_[0] = 0;
}

UiString::UiString(const UiChar* text) : UiString() {
    Assign(text);
}

UiString::UiString(const UiChar* text, int length) : UiString() {
    Assign(text, length);
}

UiString::UiString(UiChar c) : UiString() {
    Append(c);
}

UiString::UiString(const UiString& other) : UiString() {
    Assign(other.data_, other.length_);
}

UiString::UiString(UiString&& other) noexcept : UiString() {
    *this = std::move(other);
}

UiString::~UiString() {
    if (data_ != inline_) delete[] data_;
}

UiString& UiString::operator=(const UiString& other) {
    if (this != &other) Assign(other.data_, other.length_);
    return *this;
}

UiString& UiString::operator=(UiString&& other) noexcept {
    if (this == &other) return *this;
    if (other.data_ == other.inline_) {
        Assign(other.data_, other.length_);
    } else {
        if (data_ != inline_) delete[] data_;
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = other.inline_;
        other.capacity_ = kInlineCapacity;
    }
    other.length_ = 0;
    other.inline_[0] = 0;
    return *this;
}

UiString& UiString::operator=(const UiChar* text) {
    Assign(text);
    return *this;
}

void UiString::Reserve(int length) {
    if (length + 1 <= capacity_) return;
    int capacity = capacity_;
    while (capacity < length + 1) capacity *= 2;
    UiChar* data = new UiChar[static_cast<size_t>(capacity)];
    std::memcpy(data, data_, sizeof(UiChar) * static_cast<size_t>(length_ + 1));
    if (data_ != inline_) delete[] data_;
    data_ = data;
    capacity_ = capacity;
}

void UiString::Assign(const UiChar* text, int length) {
    if (length < 0) length = static_cast<int>(UiStrLen(text));
    if (text >= data_ && text < data_ + capacity_) {
        // Assigning a piece of ourselves (s = s.Data() + 3).
        UiString copy(text, length);
        *this = std::move(copy);
        return;
    }
    length_ = 0;
    data_[0] = 0;
    Append(text, length);
}

void UiString::AssignAnsi(const char* text, int length) {
    if (text == nullptr) {
        Empty();
        return;
    }
    size_t bytes = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    size_t units = 0;
    UiChar* wide = NewUtf16FromAnsi(text, bytes, &units);
    if (wide == nullptr) {
        Empty();
        return;
    }
    Assign(wide, static_cast<int>(units));
    delete[] wide;
}

UiString UiString::FromAnsi(const char* text, int length) {
    UiString s;
    s.AssignAnsi(text, length);
    return s;
}

void UiString::Append(const UiChar* text, int length) {
    if (text == nullptr) return;
    if (length < 0) length = static_cast<int>(UiStrLen(text));
    if (length == 0) return;
    if (text >= data_ && text < data_ + capacity_) {
        UiString copy(text, length);
        Append(copy.data_, copy.length_);
        return;
    }
    Reserve(length_ + length);
    std::memcpy(data_ + length_, text, sizeof(UiChar) * static_cast<size_t>(length));
    length_ += length;
    data_[length_] = 0;
}

void UiString::Append(UiChar c) {
    Reserve(length_ + 1);
    data_[length_++] = c;
    data_[length_] = 0;
}

void UiString::Empty() {
    if (data_ != inline_) delete[] data_;
    data_ = inline_;
    capacity_ = kInlineCapacity;
    length_ = 0;
    inline_[0] = 0;
}

UiChar UiString::At(int index) const {
    return (index >= 0 && index < length_) ? data_[index] : 0;
}

void UiString::SetAt(int index, UiChar c) {
    assert(index >= 0 && index < length_);
    if (index >= 0 && index < length_) data_[index] = c;
}

int UiString::Compare(const UiChar* text) const {
    return UiStrCmp(data_, text);
}

int UiString::CompareNoCase(const UiChar* text) const {
    return UiStrCmpNoCase(data_, text);
}

int UiString::Find(UiChar c, int start) const {
    if (start < 0) start = 0;
    for (int i = start; i < length_; ++i) {
        if (data_[i] == c) return i;
    }
    return -1;
}

int UiString::Find(const UiChar* text, int start) const {
    int n = static_cast<int>(UiStrLen(text));
    if (start < 0) start = 0;
    if (n == 0) return start <= length_ ? start : -1;
    for (int i = start; i + n <= length_; ++i) {
        if (data_[i] == text[0] && std::memcmp(data_ + i, text, sizeof(UiChar) * static_cast<size_t>(n)) == 0)
            return i;
    }
    return -1;
}

int UiString::ReverseFind(UiChar c) const {
    for (int i = length_ - 1; i >= 0; --i) {
        if (data_[i] == c) return i;
    }
    return -1;
}

UiString UiString::Mid(int start, int length) const {
    if (start < 0) start = 0;
    if (start > length_) start = length_;
    if (length < 0 || length > length_ - start) length = length_ - start;
    return UiString(data_ + start, length);
}

UiString UiString::Left(int length) const {
    return Mid(0, length < 0 ? 0 : length);
}

UiString UiString::Right(int length) const {
    if (length < 0) length = 0;
    if (length > length_) length = length_;
    return Mid(length_ - length, length);
}

int UiString::Replace(const UiChar* from, const UiChar* to) {
    int fromLength = static_cast<int>(UiStrLen(from));
    if (fromLength == 0) return 0;
    int count = 0;
    UiString result;
    int pos = 0;
    for (int hit = Find(from, 0); hit >= 0; hit = Find(from, pos)) {
        result.Append(data_ + pos, hit - pos);
        result.Append(to);
        pos = hit + fromLength;
        ++count;
    }
    if (count == 0) return 0;
    result.Append(data_ + pos, length_ - pos);
    *this = std::move(result);
    return count;
}

void UiString::MakeUpper() {
    for (int i = 0; i < length_; ++i) data_[i] = UiToUpper(data_[i]);
}

void UiString::MakeLower() {
    for (int i = 0; i < length_; ++i) data_[i] = UiToLower(data_[i]);
}

namespace {

void AppendPadded(UiString* out, const UiChar* text, int length, int width, bool left, UiChar pad) {
    if (!left) {
        for (int i = length; i < width; ++i) out->Append(pad);
    }
    out->Append(text, length);
    if (left) {
        for (int i = length; i < width; ++i) out->Append(UiChar(' '));
    }
}

// Digits of value in the given base into buf (filled from the end); returns
// the first digit.
UiChar* FormatDigits(unsigned long long value, unsigned base, bool upper, UiChar* bufEnd) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    UiChar* p = bufEnd;
    do {
        *--p = static_cast<UiChar>(digits[value % base]);
        value /= base;
    } while (value != 0);
    return p;
}

}  // namespace

int UiString::Format(const UiChar* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatV(format, args);
    va_end(args);
    return n;
}

int UiString::FormatV(const UiChar* format, va_list args) {
    UiString out;
    const UiChar* p = format;
    while (p != nullptr && *p != 0) {
        if (*p != '%') {
            out.Append(*p++);
            continue;
        }
        const UiChar* start = p++;
        bool left = false, zero = false;
        for (; *p == '-' || *p == '0'; ++p) (*p == '-' ? left : zero) = true;
        int width = 0;
        while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
        int precision = -1;
        if (*p == '.') {
            ++p;
            precision = 0;
            while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
        }
        bool isLong = false;
        while (*p == 'l') isLong = true, ++p;
        UiChar pad = (zero && !left) ? UiChar('0') : UiChar(' ');
        UiChar buf[32];
        UiChar* end = buf + 32;
        switch (*p) {
            case 'd':
            case 'i': {
                long long v = isLong ? va_arg(args, long) : va_arg(args, int);
                unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : v;
                UiChar* d = FormatDigits(mag, 10, false, end);
                if (v < 0) {
                    if (pad == '0') {
                        out.Append(UiChar('-'));
                        AppendPadded(&out, d, static_cast<int>(end - d), width - 1, left, pad);
                        break;
                    }
                    *--d = '-';
                }
                AppendPadded(&out, d, static_cast<int>(end - d), width, left, pad);
                break;
            }
            case 'u':
            case 'x':
            case 'X': {
                unsigned long long v = isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned);
                UiChar* d = FormatDigits(v, *p == 'u' ? 10 : 16, *p == 'X', end);
                AppendPadded(&out, d, static_cast<int>(end - d), width, left, pad);
                break;
            }
            case 'c': {
                UiChar c = static_cast<UiChar>(va_arg(args, int));
                AppendPadded(&out, &c, 1, width, left, UiChar(' '));
                break;
            }
            case 's': {
                const UiChar* s = va_arg(args, const UiChar*);
                static const UiChar kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
                if (s == nullptr) s = kNull;
                int n = static_cast<int>(UiStrLen(s));
                if (precision >= 0 && precision < n) n = precision;
                AppendPadded(&out, s, n, width, left, UiChar(' '));
                break;
            }
            case '%':
                out.Append(UiChar('%'));
                break;
            default:
                // Unsupported conversion: keep the text so the mistake is visible.
                out.Append(start, static_cast<int>(p - start) + (*p != 0 ? 1 : 0));
                break;
        }
        if (*p != 0) ++p;
    }
    *this = std::move(out);
    return length_;
}

UiString operator+(const UiString& a, const UiChar* b) {
    UiString s(a);
    s.Append(b);
    return s;
}

UiString operator+(const UiString& a, const UiString& b) {
    UiString s(a);
    s.Append(b.Data(), b.Length());
    return s;
}

}  // namespace SkinUI
