#include "ui/controls/attribute_values.h"

#include <climits>
#include <cmath>

namespace SkinUI {

namespace {

bool IsSpace(UiChar c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int HexDigit(UiChar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t ParseDecimal(const UiChar* text, const UiChar** end) {
    if (end != nullptr) *end = text;
    if (text == nullptr) return 0;
    const UiChar* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') return 0;
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value <= static_cast<int64_t>(INT32_MAX) + 1) value = value * 10 + (*p - '0');
        ++p;
    }
    if (end != nullptr) *end = p;
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int ParseNumberList(const UiChar* text, int32_t* out, int count) {
    int read = 0;
    const UiChar* p = text;
    for (int i = 0; i < count; ++i) out[i] = 0;
    for (int i = 0; i < count && p != nullptr; ++i) {
        const UiChar* end = p;
        out[i] = ParseDecimal(p, &end);
        if (end != p) ++read;
        // One separator character of any kind; never past the terminator.
        if (*end == 0) break;
        p = end + 1;
    }
    return read;
}

double ParseFraction(const UiChar* text, const UiChar** end) {
    if (end != nullptr) *end = text;
    if (text == nullptr) return 0.0;
    const UiChar* p = text;
    while (IsSpace(*p)) ++p;
    double sign = 1.0;
    if (*p == '+' || *p == '-') {
        if (*p == '-') sign = -1.0;
        ++p;
    }
    double value = 0.0;
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10.0 + (*p - '0');
        ++p;
        ++digits;
    }
    if (*p == '.') {
        ++p;
        double scale = 0.1;
        while (*p >= '0' && *p <= '9') {
            value += (*p - '0') * scale;
            scale /= 10.0;
            ++p;
            ++digits;
        }
    }
    if (digits == 0) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const UiChar* q = p + 1;
        int expSign = 1;
        if (*q == '+' || *q == '-') {
            if (*q == '-') expSign = -1;
            ++q;
        }
        if (*q >= '0' && *q <= '9') {
            int exponent = 0;
            while (*q >= '0' && *q <= '9') {
                if (exponent < 400) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            value *= std::pow(10.0, expSign * exponent);
            p = q;
        }
    }
    if (end != nullptr) *end = p;
    return sign * value;
}

void ParseFractionList(const UiChar* text, double out[4]) {
    const UiChar* p = text;
    for (int i = 0; i < 4; ++i) out[i] = 0.0;
    for (int i = 0; i < 4 && p != nullptr; ++i) {
        const UiChar* end = p;
        out[i] = ParseFraction(p, &end);
        if (*end == 0) break;
        p = end + 1;
    }
}

bool ParseTrue(const UiChar* text) {
    return text != nullptr && UiStrEq(text, UI_TEXT("true"));
}

uint32_t ParseHexColor(const UiChar* text, bool skipBlanks) {
    if (text == nullptr) return 0;
    const UiChar* p = text;
    if (skipBlanks) {
        while (*p >= 1 && *p <= 0x20) ++p;
    }
    if (*p == '#') ++p;
    while (IsSpace(*p)) ++p;
    if (*p == '+') ++p;
    if (*p == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigit(p[2]) >= 0) p += 2;
    uint64_t value = 0;
    for (int digit = HexDigit(*p); digit >= 0; digit = HexDigit(*++p)) {
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) value = 0x100000000ull;
    }
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

void ForEachAttributePair(const UiChar* text,
                          const std::function<void(const UiString& name, const UiString& value)>& apply) {
    if (text == nullptr) return;
    const UiChar* p = text;
    while (*p != 0) {
        const UiChar* nameStart = p;
        while (*p != 0 && *p != '=') ++p;
        if (*p != '=') return;
        UiString name(nameStart, static_cast<int>(p - nameStart));
        ++p;
        if (*p != '"') return;
        ++p;
        const UiChar* valueStart = p;
        while (*p != 0 && *p != '"') ++p;
        if (*p != '"') return;
        UiString value(valueStart, static_cast<int>(p - valueStart));
        ++p;
        apply(name, value);
        if (*p != ' ') return;
        ++p;
    }
}

}  // namespace SkinUI
