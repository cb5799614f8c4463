#include "ui/core/text_convert.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif
#if defined(__SSE2__) && !defined(SKINUI_NO_SIMD)
#include <emmintrin.h>
#endif

namespace SkinUI {

namespace {

constexpr UiChar kReplacement = 0xFFFD;

// Length of a valid sequence starting at s (1..4), or 0 when invalid.
inline int SequenceLength(const unsigned char* s, size_t left, uint32_t* cp) {
    unsigned c = s[0];
    if (c < 0x80) {
        *cp = c;
        return 1;
    }
    if (c < 0xC2) return 0;
    if (c < 0xE0) {
        if (left < 2 || (s[1] & 0xC0) != 0x80) return 0;
        *cp = ((c & 0x1F) << 6) | (s[1] & 0x3F);
        return 2;
    }
    if (c < 0xF0) {
        if (left < 3 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80) return 0;
        uint32_t v = ((c & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
        if (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF)) return 0;
        *cp = v;
        return 3;
    }
    if (c < 0xF5) {
        if (left < 4 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80 || (s[3] & 0xC0) != 0x80) return 0;
        uint32_t v = ((c & 0x07) << 18) | ((s[1] & 0x3F) << 12) | ((s[2] & 0x3F) << 6) | (s[3] & 0x3F);
        if (v < 0x10000 || v > 0x10FFFF) return 0;
        *cp = v;
        return 4;
    }
    return 0;
}

#ifdef _WIN32
UiChar* NewUtf16FromCodePage(UINT codePage, const char* src, size_t length, size_t* units, size_t padding) {
    *units = 0;
    if (length > 0x7FFFFFFF) return nullptr;
    int n = length == 0 ? 0 : MultiByteToWideChar(codePage, 0, src, static_cast<int>(length), nullptr, 0);
    if (length != 0 && n <= 0) return nullptr;
    UiChar* text = new UiChar[static_cast<size_t>(n) + 1 + padding];
    if (n > 0) MultiByteToWideChar(codePage, 0, src, static_cast<int>(length), text, n);
    std::memset(text + n, 0, (1 + padding) * sizeof(UiChar));
    *units = static_cast<size_t>(n);
    return text;
}
#endif

}  // namespace

size_t DecodeUtf8(const char* src, size_t length, UiChar* dst) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(src);
    const unsigned char* end = s + length;
    UiChar* out = dst;
    while (s < end) {
        // ASCII runs are the bulk of skin text: widen them a block at a time.
#if defined(__SSE2__) && !defined(SKINUI_NO_SIMD)
        while (end - s >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            if (_mm_movemask_epi8(bytes) != 0) break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
            s += 16;
            out += 16;
        }
#else
        while (end - s >= 8) {
            uint64_t word;
            std::memcpy(&word, s, 8);
            if ((word & 0x8080808080808080ULL) != 0) break;
            for (int i = 0; i < 8; ++i) out[i] = static_cast<UiChar>(s[i]);
            s += 8;
            out += 8;
        }
#endif
        while (s < end && *s < 0x80) *out++ = static_cast<UiChar>(*s++);
        if (s == end) break;
        uint32_t cp = 0;
        int n = SequenceLength(s, static_cast<size_t>(end - s), &cp);
        if (n == 0) {
            *out++ = kReplacement;
            ++s;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            *out++ = static_cast<UiChar>(0xD800 + (cp >> 10));
            *out++ = static_cast<UiChar>(0xDC00 + (cp & 0x3FF));
            s += n;
        } else {
            *out++ = static_cast<UiChar>(cp);
            s += n;
        }
    }
    return static_cast<size_t>(out - dst);
}

size_t DecodedUtf8Length(const char* src, size_t length) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(src);
    const unsigned char* end = s + length;
    size_t units = 0;
    while (s < end) {
        uint32_t cp = 0;
        int n = SequenceLength(s, static_cast<size_t>(end - s), &cp);
        units += (n == 4) ? 2 : 1;
        s += (n == 0) ? 1 : n;
    }
    return units;
}

UiChar* NewUtf16FromUtf8(const char* src, size_t length, size_t* units, size_t padding) {
#ifdef _WIN32
    return NewUtf16FromCodePage(CP_UTF8, src, length, units, padding);
#else
    // One unit per byte is always enough; the slack is not worth a second pass.
    UiChar* text = new UiChar[length + 1 + padding];
    *units = DecodeUtf8(src, length, text);
    std::memset(text + *units, 0, (1 + padding) * sizeof(UiChar));
    return text;
#endif
}

UiChar* NewUtf16FromAnsi(const char* src, size_t length, size_t* units, size_t padding) {
#ifdef _WIN32
    return NewUtf16FromCodePage(CP_ACP, src, length, units, padding);
#else
    return NewUtf16FromUtf8(src, length, units, padding);
#endif
}

size_t AnsiToUiBuffer(const char* src, size_t length, UiChar* dst, size_t capacity) {
    if (capacity == 0) return 0;
    size_t units = 0;
#ifdef _WIN32
    if (length > 0 && length < 0x7FFFFFFF) {
        int n = MultiByteToWideChar(CP_ACP, 0, src, static_cast<int>(length), dst,
                                    static_cast<int>(capacity - 1));
        if (n <= 0) {
            // Too long for the buffer: convert whole, then cut.
            size_t all = 0;
            UiChar* whole = NewUtf16FromCodePage(CP_ACP, src, length, &all, 0);
            if (whole != nullptr) {
                units = all < capacity - 1 ? all : capacity - 1;
                std::memcpy(dst, whole, units * sizeof(UiChar));
                delete[] whole;
            }
        } else {
            units = static_cast<size_t>(n);
        }
    }
#else
    // Decoding never yields more units than it reads bytes, so reading at
    // most capacity - 1 bytes fits.
    units = DecodeUtf8(src, length < capacity - 1 ? length : capacity - 1, dst);
#endif
    dst[units] = 0;
    return units;
}

std::string UiToUtf8(const UiChar* text) {
    std::string out;
    if (text == nullptr) return out;
    for (const UiChar* p = text; *p != 0; ++p) {
        uint32_t cp = *p;
        if (cp >= 0xD800 && cp <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string UiToAnsi(const UiChar* text) {
#ifdef _WIN32
    std::string out;
    if (text == nullptr || *text == 0) return out;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return out;
    out.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes - 1));
    return out;
#else
    return UiToUtf8(text);
#endif
}

}  // namespace SkinUI
