#include "ui/core/language_tokens.h"

namespace SkinUI {

void ExpandLanguageTokens(UiString* text, const StringPtrMap& strings) {
    int pos = 0;
    for (;;) {
        const int start = text->Find(UiChar('%'), pos);
        if (start < 0) return;
        pos = start + 1;
        if (text->At(start + 1) != '{') continue;
        int end = start + 2;
        unsigned id = 0;
        while (text->At(end) >= '0' && text->At(end) <= '9') {
            id = id * 10 + static_cast<unsigned>(text->At(end) - '0');
            ++end;
        }
        if (text->At(end) != '}') continue;
        UiString key;
        key.Format(UI_TEXT("%u"), id);
        const UiString* value = static_cast<const UiString*>(strings.Find(key.Data()));
        if (value == nullptr) continue;
        const UiString token = text->Mid(start, end + 1 - start);
        const UiString replacement = *value;  // the text may be the stored string itself
        text->Replace(token.Data(), replacement.Data());
        pos = start + replacement.Length();
    }
}

}  // namespace SkinUI
