// Line layout of markup text.
#include "ui/core/markup_layout.h"

#include <algorithm>

#include "ui/core/image_spec.h"

namespace SkinUI {

int NextMarkupFontId() {
    static int next = 30000;
    return next++;
}

namespace {

// Characters a word-breaking cut may follow: anything but ASCII letters and
// digits and the letters of alphabetic scripts (CJK ideographs, kana and
// full-width forms break anywhere).
bool IsBreakAfter(UiChar c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return false;
    if (c < 0x80) return true;
    if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
        (c >= 0xFF00 && c <= 0xFFEF))
        return true;
    return false;
}

// The style state a line starts with; saved before a line is measured and
// restored before it is drawn.
struct StyleState {
    std::vector<MarkupFont> fonts;
    std::vector<uint32_t> colors;
    std::vector<int> spacings;
    int spacing = 0;
    bool selected = false;
    bool raw = false;
    bool inLink = false;
    UiString linkText;
};

struct LineResult {
    int end = 0;  // position after the line
    int height = 0;
    int right = 0;        // rightmost point reached
    int imageBottom = 0;  // lowest image bottom, 0 when none
    bool stop = false;    // the layout ends with this line
};

class MarkupLayout {
public:
    MarkupLayout(MarkupSurface& surface, const UiChar* text, const MarkupLayoutInput& input,
                 MarkupLayoutOutput* output)
        : surface_(surface),
          text_(text),
          length_(int(UiStrLen(text))),
          in_(input),
          out_(output),
          rect_(input.rect),
          singleLine_((input.format & kMarkupSingleLine) != 0),
          measureOnly_((input.format & kMarkupCalcRect) != 0) {}

    void Run();

private:
    MarkupFont CurrentFont() const {
        return state_.fonts.empty() ? surface_.DefaultFont() : state_.fonts.back();
    }
    uint32_t CurrentColor() const { return state_.colors.empty() ? in_.textRgb : state_.colors.back(); }
    int FontLineHeight() { return state_.spacing + surface_.LineHeightOf(CurrentFont()); }
    void PushFont(MarkupFont font) {
        if (font == nullptr) font = CurrentFont();
        state_.fonts.push_back(font);
        surface_.SelectFont(font);
        lineHeight_ = std::max(lineHeight_, FontLineHeight());
    }
    void PushStyled(bool bold, bool underline, bool italic);
    void PopFont();
    void CloseLinkPart(int top, int height);

    LineResult RunLine(int pos, int top, int startX, int knownHeight, bool final);
    bool PlaceText(const MarkupToken& token, int* pos, int top, bool final, bool* lineEnds, bool* stop);
    bool PlaceImage(const MarkupToken& token, int top, bool final);
    void ApplyTag(const MarkupToken& token, int top, bool final);

    MarkupSurface& surface_;
    const UiChar* text_;
    int length_;
    const MarkupLayoutInput& in_;
    MarkupLayoutOutput* out_;
    UiRect rect_;
    bool singleLine_;
    bool measureOnly_;

    StyleState state_;
    // Per line:
    int x_ = 0;
    int lineHeight_ = 0;
    int knownHeight_ = -1;  // the measured height while drawing a line
    bool placed_ = false;
    int linkStartX_ = 0;
    int imageBottom_ = 0;
};

void MarkupLayout::PushStyled(bool bold, bool underline, bool italic) {
    const MarkupFont current = CurrentFont();
    MarkupFontStyle style = surface_.StyleOf(current);
    if ((!bold || style.bold) && (!underline || style.underline) && (!italic || style.italic)) {
        PushFont(current);
        return;
    }
    style.bold = style.bold || bold;
    style.underline = style.underline || underline;
    style.italic = style.italic || italic;
    PushFont(surface_.FindOrCreateFont(style));
}

void MarkupLayout::PopFont() {
    if (state_.fonts.empty()) return;
    const bool wasItalic = surface_.StyleOf(state_.fonts.back()).italic;
    state_.fonts.pop_back();
    const MarkupFont now = CurrentFont();
    surface_.SelectFont(now);
    // Italic glyphs lean past their advance; leave room before upright text.
    if (wasItalic && !surface_.StyleOf(now).italic) x_ += surface_.SpaceTrailingWidth() / 2;
}

void MarkupLayout::CloseLinkPart(int top, int height) {
    if (int(out_->links.size()) >= in_.linkCapacity) return;
    out_->links.push_back({MakeUiRect(linkStartX_, top, x_, top + height), state_.linkText});
}

bool MarkupLayout::PlaceImage(const MarkupToken& token, int top, bool final) {
    const UiString params(text_ + token.paramStart, token.paramLength);
    UiString name;
    UiString resourceType;
    bool isResource = false;
    uint32_t mask = 0;
    long count = 1, index = 0;
    if (params.Find(UI_TEXT("file='")) >= 0 || params.Find(UI_TEXT("res='")) >= 0) {
        ImageSpec spec;
        ImageLoadOptions options;
        ParseImageSpecText(params, &spec, &options);
        name = options.name;
        resourceType = options.resourceType;
        isResource = options.isResource;
        mask = options.mask;
    } else {
        int space = params.Find(' ');
        if (space < 0) space = params.Length();
        name = params.Left(space);
        const UiChar* end = params.Data() + space;
        if (*end != 0) {
            count = ParseUiLong(end + 1, &end);
            if (*end != 0) index = ParseUiLong(end + 1, &end);
        }
    }
    if (count < 1) count = 1;
    if (index < 0 || index >= count) index = 0;
    MarkupImage image;
    if (!surface_.FindImage(name, isResource ? resourceType.Data() : nullptr, mask, &image)) return true;
    const int frameWidth = image.width / int(count);
    if (x_ + frameWidth > rect_.right && placed_ && !singleLine_) return false;
    lineHeight_ = std::max(lineHeight_, image.height);
    const int height = knownHeight_ >= 0 ? knownHeight_ : lineHeight_;
    const int y = top + (height - image.height) / 2;
    if (final) {
        imageBottom_ = std::max(imageBottom_, y + image.height);
        if (!measureOnly_) {
            const int sx = int(index) * frameWidth;
            surface_.DrawImage(image, MakeUiRect(x_, y, x_ + frameWidth, y + image.height),
                               MakeUiRect(sx, 0, sx + frameWidth, image.height));
        }
    }
    x_ += frameWidth;
    placed_ = true;
    return true;
}

void MarkupLayout::ApplyTag(const MarkupToken& token, int top, bool final) {
    const UiString params(text_ + token.paramStart, token.paramLength);
    const UiChar* end = nullptr;
    if (token.kind == MarkupToken::kCloseTag) {
        switch (token.letter) {
            case 'a':
                if (state_.inLink) {
                    if (final) CloseLinkPart(top, knownHeight_ >= 0 ? knownHeight_ : lineHeight_);
                    state_.inLink = false;
                }
                if (!state_.colors.empty()) state_.colors.pop_back();
                PopFont();
                break;
            case 'b':
            case 'f':
            case 'i':
            case 'u':
                PopFont();
                break;
            case 'c':
                if (!state_.colors.empty()) state_.colors.pop_back();
                break;
            case 'p':
                if (!state_.spacings.empty()) {
                    state_.spacing = state_.spacings.back();
                    state_.spacings.pop_back();
                }
                // The line after a paragraph does not keep its spacing.
                if (!placed_) lineHeight_ = FontLineHeight();
                break;
            case 'r':
                state_.raw = false;
                break;
            case 's':
                state_.selected = false;
                break;
            default:
                break;
        }
        return;
    }
    switch (token.letter) {
        case 'a': {
            uint32_t color = in_.linkRgb;
            for (const MarkupLink& link : in_.previousLinks) {
                const UiRect& r = link.rect;
                if (in_.mouseX >= r.left && in_.mouseX < r.right && in_.mouseY >= r.top &&
                    in_.mouseY < r.bottom && link.text == params) {
                    color = in_.linkHoverRgb;
                    break;
                }
            }
            state_.colors.push_back(color);
            PushStyled(false, true, false);
            state_.inLink = true;
            state_.linkText = params;
            linkStartX_ = x_;
            break;
        }
        case 'b':
            PushStyled(true, false, false);
            break;
        case 'u':
            PushStyled(false, true, false);
            break;
        case 'i':
            PushStyled(false, false, true);
            break;
        case 'c': {
            const UiChar* p = params.Data();
            while (*p == ' ') ++p;
            if (*p == '#') ++p;
            state_.colors.push_back(uint32_t(ParseUiLong(p, &end, 16)) & 0x00FFFFFFu);
            break;
        }
        case 'f': {
            const UiChar* p = params.Data();
            while (*p == ' ') ++p;
            if (*p >= '0' && *p <= '9') {
                PushFont(surface_.FontById(int(ParseUiLong(p, &end))));
                break;
            }
            MarkupFontStyle style;
            const UiChar* faceEnd = p;
            while (*faceEnd != 0 && *faceEnd != ' ') ++faceEnd;
            style.face = UiString(p, int(faceEnd - p));
            style.size = 10;
            const long size = ParseUiLong(faceEnd, &end);
            if (end != faceEnd && size > 0) style.size = int(size);
            const UiString rest(end);
            UiString lower = rest;
            lower.MakeLower();
            style.bold = lower.Find(UI_TEXT("bold")) >= 0;
            style.underline = lower.Find(UI_TEXT("underline")) >= 0;
            style.italic = lower.Find(UI_TEXT("italic")) >= 0;
            PushFont(surface_.FindOrCreateFont(style));
            break;
        }
        case 'p':
            state_.spacings.push_back(state_.spacing);
            state_.spacing = int(ParseUiLong(params, &end));
            // The tag opens a line: its spacing belongs to this line already.
            if (!placed_) lineHeight_ = FontLineHeight();
            break;
        case 'r':
            state_.raw = true;
            break;
        case 's':
            state_.selected = true;
            break;
        case 'x':
            x_ += int(ParseUiLong(params, &end));
            break;
        case 'y':
            lineHeight_ = int(ParseUiLong(params, &end));
            break;
        default:
            break;  // unknown tags have no effect
    }
}

bool MarkupLayout::PlaceText(const MarkupToken& token, int* pos, int top, bool final, bool* lineEnds,
                             bool* stop) {
    const UiChar* run = token.escaped != 0 ? &token.escaped : text_ + token.start;
    const int runLength = token.escaped != 0 ? 1 : token.length;
    const int consumed = token.length;
    int count = runLength;
    bool cut = false;
    bool ellipsis = false;
    const int available = rect_.right - x_;
    if (surface_.TextWidth(run, runLength) > available) {
        cut = true;
        // The longest prefix that fits.
        int lo = 0, hi = runLength - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (surface_.TextWidth(run, mid) <= available)
                lo = mid;
            else
                hi = mid - 1;
        }
        count = lo;
        const bool wraps = !singleLine_ && (in_.format & kMarkupWordBreak) != 0;
        if ((in_.format & kMarkupEndEllipsis) != 0 && !wraps) {
            ellipsis = true;
            const int dots = surface_.TextWidth(UI_TEXT("..."), 3);
            count = std::max(0, count - 1);
            while (count > 0 && surface_.TextWidth(run, count) + dots > available) --count;
        } else if (wraps) {
            int breakAt = -1;
            for (int i = count - 1; i >= 0; --i) {
                if (run[i] == ' ' || IsBreakAfter(run[i])) {
                    breakAt = i;
                    break;
                }
            }
            if (breakAt >= 0)
                count = breakAt + 1;
            else if (placed_)
                count = 0;
        }
        if (count == 0 && !placed_ && !ellipsis) count = 1;
        if (token.escaped != 0 && count > 0) count = 1;
    }
    const int height = knownHeight_ >= 0 ? knownHeight_ : lineHeight_;
    const int width = count > 0 ? surface_.TextWidth(run, count) : 0;
    if (final && !measureOnly_ && count > 0) {
        const int y = top + height - surface_.LineHeightOf(CurrentFont());
        surface_.DrawText(x_, y, run, count, CurrentColor(), state_.selected);
    }
    x_ += width;
    if (count > 0) placed_ = true;
    if (ellipsis) {
        if (final && !measureOnly_) {
            const int y = top + height - surface_.LineHeightOf(CurrentFont());
            surface_.DrawText(x_, y, UI_TEXT("..."), 3, CurrentColor(), state_.selected);
        }
        x_ += surface_.TextWidth(UI_TEXT("..."), 3);
        *stop = true;
    }
    if (!cut) {
        *pos += consumed;
        return true;
    }
    // An escape is consumed whole or not at all.
    *pos += token.escaped != 0 ? (count > 0 ? consumed : 0) : count;
    *lineEnds = true;
    if (singleLine_) *stop = true;
    return true;
}

LineResult MarkupLayout::RunLine(int pos, int top, int startX, int knownHeight, bool final) {
    LineResult result;
    x_ = startX;
    knownHeight_ = knownHeight;
    lineHeight_ = FontLineHeight();
    placed_ = false;
    imageBottom_ = 0;
    linkStartX_ = startX;
    surface_.SelectFont(CurrentFont());
    const int lineStart = pos;
    bool lineEnds = false;
    bool stop = false;
    while (!lineEnds && !stop) {
        if (pos >= length_) {
            stop = true;
            break;
        }
        if (x_ >= rect_.right && pos > lineStart && !singleLine_) break;
        const MarkupToken token = ReadMarkupToken(text_, length_, pos, state_.raw);
        switch (token.kind) {
            case MarkupToken::kNewLine:
                pos += 1;
                if (!singleLine_) lineEnds = true;
                break;
            case MarkupToken::kText:
                if (token.escaped == 0 && token.length == 1 && text_[token.start] == '\r') {
                    pos += 1;
                    break;
                }
                PlaceText(token, &pos, top, final, &lineEnds, &stop);
                break;
            case MarkupToken::kOpenTag:
                if (token.letter == 'n') {
                    pos += token.length;
                    if (!singleLine_) lineEnds = true;
                } else if (token.letter == 'p' && placed_ && !singleLine_) {
                    lineEnds = true;  // the paragraph starts on a new line
                } else if (token.letter == 'i' && token.paramLength > 0) {
                    if (PlaceImage(token, top, final))
                        pos += token.length;
                    else
                        lineEnds = true;
                } else {
                    ApplyTag(token, top, final);
                    pos += token.length;
                }
                break;
            case MarkupToken::kCloseTag:
                if (token.letter == 'p' && placed_ && !singleLine_) {
                    lineEnds = true;
                } else {
                    ApplyTag(token, top, final);
                    pos += token.length;
                }
                break;
            case MarkupToken::kEnd:
                stop = true;
                break;
        }
    }
    result.end = pos;
    result.height = knownHeight >= 0 ? knownHeight : lineHeight_;
    result.right = x_;
    result.imageBottom = imageBottom_;
    result.stop = stop || pos >= length_;
    if (final && state_.inLink) {
        CloseLinkPart(top, result.height);
    }
    return result;
}

void MarkupLayout::Run() {
    out_->links.clear();
    const unsigned align = in_.format & (kMarkupCenter | kMarkupRight | kMarkupVCenter | kMarkupBottom);
    if (!measureOnly_ && align != 0) {
        MarkupLayoutInput measure = in_;
        measure.rect = MakeUiRect(0, 0, 9999, 100);
        measure.format = in_.format | kMarkupCalcRect;
        measure.linkCapacity = 0;
        MarkupLayoutOutput measured;
        MarkupLayout(surface_, text_, measure, &measured).Run();
        const int mw = RectWidth(measured.used);
        const int mh = RectHeight(measured.used);
        if (singleLine_ && (in_.format & kMarkupCenter) != 0) {
            rect_.left += RectWidth(rect_) / 2 - mw / 2;
            rect_.right = rect_.left + mw;
        } else if (singleLine_ && (in_.format & kMarkupRight) != 0) {
            rect_.left = rect_.right - mw;
        }
        if ((in_.format & kMarkupVCenter) != 0) {
            rect_.top += RectHeight(rect_) / 2 - mh / 2;
            rect_.bottom = rect_.top + mh;
        } else if ((in_.format & kMarkupBottom) != 0) {
            rect_.top = rect_.bottom - mh;
        }
    }
    const bool alignLines = !singleLine_ && (in_.format & (kMarkupCenter | kMarkupRight)) != 0;

    int pos = 0;
    int top = rect_.top;
    int widest = rect_.left;
    int bottom = rect_.top;
    for (;;) {
        if (!measureOnly_ && top >= rect_.bottom) break;
        LineResult line;
        if (measureOnly_) {
            line = RunLine(pos, top, rect_.left, -1, true);
        } else {
            const StyleState saved = state_;
            const LineResult measured = RunLine(pos, top, rect_.left, -1, false);
            state_ = saved;
            int startX = rect_.left;
            if (alignLines) {
                const int width = measured.right - rect_.left;
                startX = (in_.format & kMarkupCenter) != 0 ? rect_.left + (RectWidth(rect_) - width) / 2
                                                           : rect_.right - width;
            }
            line = RunLine(pos, top, startX, measured.height, true);
        }
        widest = std::max(widest, line.right);
        bottom = std::max({bottom, top + line.height, line.imageBottom});
        top += line.height;
        // Guard against a line that consumed nothing (it cannot happen with
        // positive widths, but a zero-width rectangle must not spin).
        if (line.stop || line.end == pos) break;
        pos = line.end;
    }
    out_->used = MakeUiRect(rect_.left, rect_.top, std::min(int(rect_.right), widest), bottom);
    surface_.SelectFont(surface_.DefaultFont());
}

}  // namespace

void LayoutMarkup(MarkupSurface& surface, const UiChar* text, const MarkupLayoutInput& input,
                  MarkupLayoutOutput* output) {
    output->links.clear();
    output->used = input.rect;
    if (text == nullptr || *text == 0 || RectIsEmpty(input.rect)) return;
    MarkupLayout(surface, text, input, output).Run();
}

}  // namespace SkinUI
