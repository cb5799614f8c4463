#include "ui/core/language_tokens.h"

namespace SkinUI {

namespace {

// The stored string of a token "%{digits}" starting at start, and the
// token's length; null when there is no token there or no string for it.
const UiString* TokenAt(const UiString& text, int start, const StringPtrMap& strings, int* tokenLength) {
    if (text.At(start) != '%' || text.At(start + 1) != '{') return nullptr;
    int end = start + 2;
    unsigned id = 0;
    while (text.At(end) >= '0' && text.At(end) <= '9') {
        id = id * 10 + static_cast<unsigned>(text.At(end) - '0');
        ++end;
    }
    if (text.At(end) != '}') return nullptr;
    UiString key;
    key.Format(UI_TEXT("%u"), id);
    *tokenLength = end + 1 - start;
    return static_cast<const UiString*>(strings.Find(key.Data()));
}

}  // namespace

// One pass from left to right: every token with a stored string is replaced,
// and since a token's string is the same wherever the token appears, this
// replaces every occurrence of it. Inserted texts are not scanned again.
void ExpandLanguageTokens(UiString* text, const StringPtrMap& strings) {
    if (text->Find(UiChar('%')) < 0) return;
    UiString out;
    int pos = 0;
    bool changed = false;
    for (int start = text->Find(UiChar('%')); start >= 0; start = text->Find(UiChar('%'), pos)) {
        int tokenLength = 0;
        const UiString* value = TokenAt(*text, start, strings, &tokenLength);
        if (value == nullptr) {
            out.Append(text->Data() + pos, start + 1 - pos);
            pos = start + 1;
            continue;
        }
        out.Append(text->Data() + pos, start - pos);
        out.Append(value->Data(), value->Length());
        pos = start + tokenLength;
        changed = true;
    }
    if (!changed) return;
    out.Append(text->Data() + pos, text->Length() - pos);
    *text = out;
}

}  // namespace SkinUI
