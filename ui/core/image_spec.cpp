#include "ui/core/image_spec.h"

namespace SkinUI {

void ResetImageSpec(ImageSpec* spec) {
    spec->text.Empty();
    spec->imageName.Empty();
    spec->tried = 0;
    spec->image = nullptr;
    spec->dest = MakeUiRect(0, 0, 0, 0);
    spec->source = MakeUiRect(0, 0, 0, 0);
    spec->corner = MakeUiRect(0, 0, 0, 0);
    spec->fade = 255;
    spec->hole = 0;
    spec->xtiled = 0;
    spec->ytiled = 0;
}

void SetImageSpecText(ImageSpec* spec, const UiChar* text) {
    ResetImageSpec(spec);
    spec->text = text;
}

namespace {

int DigitValue(UiChar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool IsSpace(UiChar c) {
    return c == ' ' || (c >= 9 && c <= 13);
}

// Four numbers, each read starting one character after the end of the
// previous one, so "1,2,3,4" and "1, 2, 3, 4" both work. The reading never
// passes the end of the text; missing numbers are 0.
UiRect ParseFourNumbers(const UiChar* value) {
    long n[4] = {0, 0, 0, 0};
    const UiChar* p = value;
    for (int i = 0; i < 4; ++i) {
        const UiChar* end = p;
        n[i] = ParseUiLong(p, &end);
        if (*end == 0) break;
        p = end + 1;
    }
    return MakeUiRect(int(n[0]), int(n[1]), int(n[2]), int(n[3]));
}

void ApplyPair(const UiString& key, const UiString& value, ImageSpec* spec, ImageLoadOptions* options) {
    if (value.IsEmpty()) return;
    const UiChar* v = value.Data();
    const UiChar* end = v;
    if (key == UI_TEXT("file")) {
        options->name = value;
    } else if (key == UI_TEXT("res")) {
        options->name = value;
        options->isResource = true;
    } else if (key == UI_TEXT("restype")) {
        options->resourceType = value;
    } else if (key == UI_TEXT("dest")) {
        spec->dest = ParseFourNumbers(v);
    } else if (key == UI_TEXT("source")) {
        spec->source = ParseFourNumbers(v);
    } else if (key == UI_TEXT("corner")) {
        spec->corner = ParseFourNumbers(v);
    } else if (key == UI_TEXT("mask")) {
        if (*v == '#') ++v;
        options->mask = uint32_t(ParseUiLong(v, &end, 16));
    } else if (key == UI_TEXT("fade")) {
        spec->fade = uint8_t(ParseUiLong(v, &end));
    } else if (key == UI_TEXT("hole")) {
        spec->hole = value == UI_TEXT("true");
    } else if (key == UI_TEXT("xtiled")) {
        spec->xtiled = value == UI_TEXT("true");
    } else if (key == UI_TEXT("ytiled")) {
        spec->ytiled = value == UI_TEXT("true");
    } else if (key == UI_TEXT("hsl")) {
        options->hsl = value == UI_TEXT("true");
    }
}

}  // namespace

long ParseUiLong(const UiChar* text, const UiChar** end, int base) {
    const UiChar* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const UiChar* digits = p;
    // Accumulated in 64 bits and saturated, so long inputs cannot overflow.
    long long n = 0;
    while (DigitValue(*p) < base) {
        n = n * base + DigitValue(*p);
        if (n > 0xFFFFFFFFLL) n = 0xFFFFFFFFLL;
        ++p;
    }
    if (p == digits) {
        *end = text;
        return 0;
    }
    *end = p;
    if (base == 10 && n > 0x7FFFFFFF) n = 0x7FFFFFFF;
    return long(negative ? -n : n);
}

void ParseImageSpecText(const UiChar* text, ImageSpec* spec, ImageLoadOptions* options) {
    *options = ImageLoadOptions();
    options->name = text;
    if (text == nullptr) return;
    const UiChar* p = text;
    for (;;) {
        while (*p != 0 && *p <= ' ') ++p;
        const UiChar* keyStart = p;
        while (*p > ' ' && *p != '=') ++p;
        const UiString key(keyStart, int(p - keyStart));
        while (*p == ' ') ++p;
        if (*p != '=') return;
        ++p;
        while (*p == ' ') ++p;
        if (*p != '\'') return;
        ++p;
        const UiChar* valueStart = p;
        while (*p != 0 && *p != '\'') ++p;
        if (*p != '\'') return;
        ApplyPair(key, UiString(valueStart, int(p - valueStart)), spec, options);
        ++p;
        if (*p != ' ') return;
        ++p;
    }
}

}  // namespace SkinUI
