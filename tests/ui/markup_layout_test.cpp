// The markup tokenizer and line layout over a fake surface whose glyphs are
// all 10 pixels wide (bold ones 12) and whose lines are 20 pixels high.
#include "ui/core/markup_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

UiString U(const char* ascii) {
    UiString s;
    for (const char* p = ascii; *p != 0; ++p) s.Append(UiChar(*p));
    return s;
}

std::string Str(const UiChar* text, int length) {
    std::string out;
    for (int i = 0; i < length; ++i) out += char(text[i]);
    return out;
}

struct Drawn {
    int x, y;
    std::string text;
    uint32_t rgb;
    bool bold, underline, italic, selected;
    int size;
};

class FakeSurface : public MarkupSurface {
public:
    FakeSurface() {
        fonts_.push_back(std::make_unique<MarkupFontStyle>());
        fonts_[0]->face = U("Sans");
        fonts_[0]->size = 12;
    }
    MarkupFont DefaultFont() override { return fonts_[0].get(); }
    MarkupFont FontById(int id) override {
        MarkupFontStyle style = *fonts_[0];
        style.size = id;  // font n is n pixels
        return FindOrCreateFont(style);
    }
    MarkupFontStyle StyleOf(MarkupFont font) override { return *static_cast<const MarkupFontStyle*>(font); }
    MarkupFont FindOrCreateFont(const MarkupFontStyle& s) override {
        for (auto& f : fonts_)
            if (f->face == s.face && f->size == s.size && f->bold == s.bold && f->underline == s.underline &&
                f->italic == s.italic)
                return f.get();
        ++created;
        fonts_.push_back(std::make_unique<MarkupFontStyle>(s));
        return fonts_.back().get();
    }
    int LineHeightOf(MarkupFont font) override { return 8 + StyleOf(font).size; }
    void SelectFont(MarkupFont font) override { current_ = static_cast<const MarkupFontStyle*>(font); }
    int TextWidth(const UiChar*, int length) override { return length * (current_->bold ? 12 : 10); }
    int SpaceTrailingWidth() override { return 4; }
    bool FindImage(const UiString& name, const UiChar*, uint32_t, MarkupImage* image) override {
        if (name != U("icon.png")) return false;
        image->handle = this;
        image->width = 60;
        image->height = 30;
        return true;
    }
    void DrawText(int x, int y, const UiChar* text, int length, uint32_t rgb, bool selected) override {
        drawn.push_back({x, y, Str(text, length), rgb, current_->bold, current_->underline, current_->italic,
                         selected, current_->size});
    }
    void DrawImage(const MarkupImage&, const UiRect& dest, const UiRect& source) override {
        images.push_back({dest, source});
    }

    std::vector<Drawn> drawn;
    std::vector<BlitPart> images;
    int created = 0;

private:
    std::vector<std::unique_ptr<MarkupFontStyle>> fonts_;
    const MarkupFontStyle* current_ = nullptr;
};

MarkupLayoutOutput Layout(FakeSurface& surface, const char* text, UiRect rect, unsigned format,
                          int linkCapacity = 8, std::vector<MarkupLink> previous = {}, int mx = -1,
                          int my = -1) {
    MarkupLayoutInput input;
    input.rect = rect;
    input.format = format;
    input.textRgb = 0x112233;
    input.linkRgb = 0x0000FF;
    input.linkHoverRgb = 0xD3215F;
    input.linkCapacity = linkCapacity;
    input.previousLinks = std::move(previous);
    input.mouseX = mx;
    input.mouseY = my;
    MarkupLayoutOutput output;
    LayoutMarkup(surface, U(text), input, &output);
    return output;
}

std::string Joined(const FakeSurface& s) {
    std::string out;
    for (const Drawn& d : s.drawn) out += "[" + d.text + "]";
    return out;
}

TEST(MarkupTokens, TagsEscapesAndText) {
    struct Case {
        const char* text;
        MarkupToken::Kind kind;
        int length;
        char letter;
        const char* params;
        char escaped;
    };
    const Case cases[] = {
        {"<b>x", MarkupToken::kOpenTag, 3, 'b', "", 0},
        {"{b}x", MarkupToken::kOpenTag, 3, 'b', "", 0},
        {"<c #FF0000>x", MarkupToken::kOpenTag, 11, 'c', "#FF0000", 0},
        {"{a http://x/}y", MarkupToken::kOpenTag, 13, 'a', "http://x/", 0},
        {"</b>x", MarkupToken::kCloseTag, 4, 'b', "", 0},
        {"{/c}x", MarkupToken::kCloseTag, 4, 'c', "", 0},
        {"<{>", MarkupToken::kText, 3, 0, "", '{'},
        {"<}>", MarkupToken::kText, 3, 0, "", '}'},
        {"{<}", MarkupToken::kText, 3, 0, "", '<'},
        {"{>}", MarkupToken::kText, 3, 0, "", '>'},
        {"a < b <b>", MarkupToken::kText, 6, 0, "", 0},
        {"<B>x", MarkupToken::kText, 4, 0, "", 0},
        {"<c #FF0000", MarkupToken::kText, 10, 0, "", 0},
        {"ab\ncd", MarkupToken::kText, 2, 0, "", 0},
        {"\ncd", MarkupToken::kNewLine, 1, 0, "", 0},
        {"", MarkupToken::kEnd, 0, 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const UiString text = U(c.text);
        const MarkupToken t = ReadMarkupToken(text, text.Length(), 0, false);
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.length, c.length);
        EXPECT_EQ(char(t.letter), c.letter);
        EXPECT_EQ(Str(text.Data() + t.paramStart, t.paramLength), c.params);
        EXPECT_EQ(char(t.escaped), c.escaped);
    }
    // Raw text runs over tags up to the closing tag of r.
    const UiString raw = U("<b>x</r>y");
    const MarkupToken t = ReadMarkupToken(raw, raw.Length(), 0, true);
    EXPECT_EQ(t.kind, MarkupToken::kText);
    EXPECT_EQ(t.length, 4);
    EXPECT_EQ(ReadMarkupToken(raw, raw.Length(), 4, true).kind, MarkupToken::kCloseTag);
}

TEST(MarkupLayout, BoldColourEscapesAndUnknownTags) {
    FakeSurface s;
    Layout(s, "a<b>bold</b>c<c #FF0000>red</c>d<q>e</q>{<}<{>", MakeUiRect(0, 0, 1000, 100), 0);
    ASSERT_EQ(Joined(s), "[a][bold][c][red][d][e][<][{]");
    EXPECT_FALSE(s.drawn[0].bold);
    EXPECT_TRUE(s.drawn[1].bold);
    EXPECT_FALSE(s.drawn[2].bold);
    EXPECT_EQ(s.drawn[2].x, 10 + 4 * 12);
    EXPECT_EQ(s.drawn[3].rgb, 0xFF0000u);
    EXPECT_EQ(s.drawn[4].rgb, 0x112233u);
    EXPECT_EQ(s.drawn[0].rgb, 0x112233u);
    // Text sits on the line's bottom: height 20 for the 12-pixel font.
    EXPECT_EQ(s.drawn[0].y, 0);
}

TEST(MarkupLayout, FontTagsAndStyles) {
    FakeSurface s;
    Layout(s, "<f Serif 20 BOLD italic>x</f><f 16>y</f><u><i>z</i></u>w", MakeUiRect(0, 0, 1000, 100), 0);
    ASSERT_EQ(s.drawn.size(), 4u);
    EXPECT_EQ(s.drawn[0].size, 20);
    EXPECT_TRUE(s.drawn[0].bold);
    EXPECT_TRUE(s.drawn[0].italic);
    EXPECT_EQ(s.drawn[1].size, 16);
    EXPECT_TRUE(s.drawn[2].underline);
    EXPECT_TRUE(s.drawn[2].italic);
    EXPECT_FALSE(s.drawn[3].italic);
    // Line height grows to the 20-pixel font: 28; the 12-pixel text sits at 28 - 20.
    EXPECT_EQ(s.drawn[3].y, 8);
    // After an italic run the point moves by half the space's trailing width.
    EXPECT_EQ(s.drawn[3].x, s.drawn[2].x + 10 + 2);
    EXPECT_EQ(s.created, 4);  // Serif 20 bold italic, size 16, underlined, underlined italic
}

TEST(MarkupLayout, LinksGiveOneRectanglePerLine) {
    FakeSurface s;
    auto out = Layout(s, "ab<a first>cd</a> <a second>efghij</a>", MakeUiRect(0, 0, 80, 100), 0);
    ASSERT_EQ(out.links.size(), 3u);
    EXPECT_TRUE(RectEquals(out.links[0].rect, MakeUiRect(20, 0, 40, 20)));
    EXPECT_EQ(out.links[0].text, U("first"));
    // The second link starts at 50, wraps after 3 characters and goes on.
    EXPECT_TRUE(RectEquals(out.links[1].rect, MakeUiRect(50, 0, 80, 20)));
    EXPECT_TRUE(RectEquals(out.links[2].rect, MakeUiRect(0, 20, 30, 40)));
    EXPECT_EQ(out.links[2].text, U("second"));
    EXPECT_TRUE(s.drawn[1].underline);
    EXPECT_EQ(s.drawn[1].rgb, 0x0000FFu);

    // Capacity limits the rectangles kept; the hover colour needs the mouse in
    // a previous rectangle of the same link text.
    FakeSurface h;
    auto limited = Layout(h, "<a x>ab</a><a y>cd</a>", MakeUiRect(0, 0, 200, 100), 0, 1,
                          {{MakeUiRect(0, 0, 20, 20), U("x")}, {MakeUiRect(20, 0, 40, 20), U("z")}}, 25, 5);
    EXPECT_EQ(limited.links.size(), 1u);
    EXPECT_EQ(h.drawn[0].rgb, 0x0000FFu);
    FakeSurface h2;
    Layout(h2, "<a x>ab</a>", MakeUiRect(0, 0, 200, 100), 0, 1, {{MakeUiRect(0, 0, 20, 20), U("x")}}, 5, 5);
    EXPECT_EQ(h2.drawn[0].rgb, 0xD3215Fu);
}

TEST(MarkupLayout, BreaksWrapsAndEllipsis) {
    FakeSurface wrap;
    Layout(wrap, "hello world again", MakeUiRect(0, 0, 100, 200), kMarkupWordBreak);
    EXPECT_EQ(Joined(wrap), "[hello ][world ][again]");
    EXPECT_EQ(wrap.drawn[1].y, 20);

    FakeSurface chars;
    Layout(chars, "hello world", MakeUiRect(0, 0, 40, 200), 0);
    EXPECT_EQ(Joined(chars), "[hell][o wo][rld]");

    FakeSurface ellipsis;
    Layout(ellipsis, "hello world", MakeUiRect(0, 0, 80, 20), kMarkupSingleLine | kMarkupEndEllipsis);
    EXPECT_EQ(Joined(ellipsis), "[hello][...]");

    FakeSurface lines;
    Layout(lines, "a\nb<n>c", MakeUiRect(0, 0, 100, 200), 0);
    EXPECT_EQ(Joined(lines), "[a][b][c]");
    EXPECT_EQ(lines.drawn[2].y, 40);
    FakeSurface single;
    Layout(single, "a\nb<n>c", MakeUiRect(0, 0, 100, 200), kMarkupSingleLine);
    EXPECT_EQ(single.drawn[2].y, 0);

    // Drawing stops below the rectangle.
    FakeSurface cut;
    Layout(cut, "a\nb\nc\nd", MakeUiRect(0, 0, 100, 30), 0);
    EXPECT_EQ(Joined(cut), "[a][b]");
}

TEST(MarkupLayout, MeasureAndAlign) {
    FakeSurface m;
    auto out = Layout(m, "abc\nabcdef", MakeUiRect(5, 5, 500, 500), kMarkupCalcRect);
    EXPECT_TRUE(m.drawn.empty());
    EXPECT_TRUE(RectEquals(out.used, MakeUiRect(5, 5, 65, 45)));

    FakeSurface centred;
    Layout(centred, "abcd", MakeUiRect(0, 0, 100, 40), kMarkupSingleLine | kMarkupCenter | kMarkupVCenter);
    ASSERT_EQ(centred.drawn.size(), 1u);
    EXPECT_EQ(centred.drawn[0].x, 30);
    EXPECT_EQ(centred.drawn[0].y, 10);

    FakeSurface right;
    Layout(right, "ab\nabcd", MakeUiRect(0, 0, 100, 100), kMarkupRight);
    ASSERT_EQ(right.drawn.size(), 2u);
    EXPECT_EQ(right.drawn[0].x, 80);
    EXPECT_EQ(right.drawn[1].x, 60);
}

TEST(MarkupLayout, ParagraphsSpacingRawSelectedAndImages) {
    FakeSurface p;
    Layout(p, "a<p 10>b</p>c", MakeUiRect(0, 0, 100, 200), 0);
    ASSERT_EQ(Joined(p), "[a][b][c]");
    EXPECT_EQ(p.drawn[1].y, 20 + 10);  // the paragraph line is 30 high, text at its bottom
    EXPECT_EQ(p.drawn[2].y, 50);

    FakeSurface raw;
    Layout(raw, "<r><b>x</b></r><s>y</s><x 15>z<y 40>w", MakeUiRect(0, 0, 1000, 100), 0);
    EXPECT_EQ(Joined(raw), "[<b>x</b>][y][z][w]");
    EXPECT_FALSE(raw.drawn[0].bold);
    EXPECT_TRUE(raw.drawn[1].selected);
    EXPECT_EQ(raw.drawn[2].x, 80 + 10 + 15);

    FakeSurface img;
    auto out = Layout(img, "a<i icon.png 3 2>b<i missing.png>c", MakeUiRect(0, 0, 1000, 100), 0);
    ASSERT_EQ(img.images.size(), 1u);
    // Frame 2 of 3 (20 pixels each), centred in the 30-pixel line.
    EXPECT_TRUE(RectEquals(img.images[0].dest, MakeUiRect(10, 0, 30, 30)));
    EXPECT_TRUE(RectEquals(img.images[0].source, MakeUiRect(40, 0, 60, 30)));
    EXPECT_EQ(Joined(img), "[a][b][c]");
    EXPECT_EQ(img.drawn[1].x, 30);
    EXPECT_EQ(img.drawn[0].y, 10);

    // An image that does not fit moves to the next line.
    FakeSurface next;
    Layout(next, "abcdefgh<i icon.png>", MakeUiRect(0, 0, 100, 100), 0);
    ASSERT_EQ(next.images.size(), 1u);
    EXPECT_EQ(next.images[0].dest.left, 0);
    EXPECT_EQ(next.images[0].dest.top, 20);
}

}  // namespace
}  // namespace SkinUI
