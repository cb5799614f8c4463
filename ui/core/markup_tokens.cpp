// Tokenizer of the markup language.
#include "ui/core/markup_layout.h"

namespace SkinUI {

namespace {

bool IsTagOpen(UiChar c) {
    return c == '<' || c == '{';
}
bool IsTagClose(UiChar c) {
    return c == '>' || c == '}';
}
bool IsTagLetter(UiChar c) {
    return c >= 'a' && c <= 'z';
}

// The escapes "<{>" "<}>" "{<}" "{>}" at pos: the character drawn, or 0.
UiChar EscapeAt(const UiChar* text, int length, int pos) {
    if (pos + 2 >= length) return 0;
    const UiChar a = text[pos], b = text[pos + 1], c = text[pos + 2];
    if (a == '<' && c == '>' && (b == '{' || b == '}')) return b;
    if (a == '{' && c == '}' && (b == '<' || b == '>')) return b;
    return 0;
}

// A tag at pos: fills token and returns true; anything else is text.
bool TagAt(const UiChar* text, int length, int pos, MarkupToken* token) {
    if (!IsTagOpen(text[pos]) || pos + 2 >= length) return false;
    if (text[pos + 1] == '/') {
        if (pos + 3 >= length || !IsTagLetter(text[pos + 2]) || !IsTagClose(text[pos + 3])) return false;
        token->kind = MarkupToken::kCloseTag;
        token->letter = text[pos + 2];
        token->length = 4;
        return true;
    }
    if (!IsTagLetter(text[pos + 1])) return false;
    const UiChar after = text[pos + 2];
    if (IsTagClose(after)) {
        token->kind = MarkupToken::kOpenTag;
        token->letter = text[pos + 1];
        token->length = 3;
        token->paramStart = pos + 2;
        return true;
    }
    if (after != ' ') return false;
    int end = pos + 3;
    while (end < length && !IsTagClose(text[end])) ++end;
    // A tag without its end is ordinary text.
    if (end >= length) return false;
    token->kind = MarkupToken::kOpenTag;
    token->letter = text[pos + 1];
    token->paramStart = pos + 3;
    token->paramLength = end - (pos + 3);
    token->length = end + 1 - pos;
    return true;
}

bool IsRawEnd(const UiChar* text, int length, int pos) {
    return pos + 3 < length && IsTagOpen(text[pos]) && text[pos + 1] == '/' && text[pos + 2] == 'r' &&
           IsTagClose(text[pos + 3]);
}

}  // namespace

MarkupToken ReadMarkupToken(const UiChar* text, int length, int pos, bool raw) {
    MarkupToken token;
    token.start = pos;
    if (pos >= length) return token;
    if (text[pos] == '\n') {
        token.kind = MarkupToken::kNewLine;
        token.length = 1;
        return token;
    }
    if (raw) {
        if (IsRawEnd(text, length, pos)) {
            token.kind = MarkupToken::kCloseTag;
            token.letter = 'r';
            token.length = 4;
            return token;
        }
    } else {
        if (const UiChar escaped = EscapeAt(text, length, pos)) {
            token.kind = MarkupToken::kText;
            token.length = 3;
            token.escaped = escaped;
            return token;
        }
        if (TagAt(text, length, pos, &token)) return token;
    }
    token.kind = MarkupToken::kText;
    int end = pos + 1;
    while (end < length && text[end] != '\n') {
        if (raw ? IsRawEnd(text, length, end) : IsTagOpen(text[end])) {
            MarkupToken probe;
            if (raw || EscapeAt(text, length, end) != 0 || TagAt(text, length, end, &probe)) break;
        }
        ++end;
    }
    token.length = end - pos;
    return token;
}

}  // namespace SkinUI
