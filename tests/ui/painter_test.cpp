// CPainter on a 32-bit DIB canvas under Wine: fills, gradients, nine-grid
// blits, image specs, plain text colours and markup text.
#include "ui/core/painter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "ui/core/manager_ui.h"
#include "ui/core/painter_gdi.h"
#include "ui/skin/image_entry.h"

namespace SkinUI {
namespace {

constexpr wchar_t kFace[] = L"\u5FAE\u8F6F\u96C5\u9ED1";  // "Microsoft YaHei" in Chinese

// A w x h premultiplied canvas in a memory DC, filled with one pixel value.
class Canvas {
public:
    Canvas(int w, int h, uint32_t fill = 0) : w_(w), h_(h), dc_(CreateCompatibleDC(nullptr)) {
        bitmap_ = CreateDib32(dc_, w, h, &bits_);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < w * h; ++i) bits_[i] = fill;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    uint32_t At(int x, int y) {
        GdiFlush();
        return bits_[y * w_ + x];
    }
    // Pixels differing from value inside [x0, x1) x [y0, y1).
    int CountNot(uint32_t value, int x0, int y0, int x1, int y1) {
        GdiFlush();
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += bits_[y * w_ + x] != value;
        return n;
    }
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

int Channel(uint32_t pixel, int shift) {
    return int((pixel >> shift) & 0xFF);
}
bool Near(int a, int b, int tolerance = 3) {
    return std::abs(a - b) <= tolerance;
}

// An image entry of w x h premultiplied pixels from a function of (x, y).
template <typename F>
ImageEntry* MakeImage(int w, int h, F pixel) {
    uint32_t* bits = nullptr;
    auto* image = new ImageEntry;
    image->bitmap = CreateDib32(nullptr, w, h, &bits);
    image->bits = reinterpret_cast<uint8_t*>(bits);
    image->width = w;
    image->height = h;
    uint32_t* p = bits;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p[y * w + x] = pixel(x, y);
    return image;
}

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// 12 x 12: corners red, edges green, centre blue (4-pixel borders).
ImageEntry* NineGridImage() {
    return MakeImage(12, 12, [](int x, int y) {
        const bool ex = x < 4 || x >= 8, ey = y < 4 || y >= 8;
        return ex && ey ? kRed : (ex || ey ? kGreen : kBlue);
    });
}

TEST(PainterFill, AlphaCases) {
    Canvas c(10, 10, 0xFF204060);
    const RECT r = {2, 2, 8, 8};
    CPainter::FillColor(c.dc(), r, 0x00FFFFFF);
    EXPECT_EQ(c.CountNot(0xFF204060, 0, 0, 10, 10), 0);

    CPainter::FillColor(c.dc(), r, 0xFF80C0E0);
    EXPECT_EQ(c.At(2, 2) & 0xFFFFFF, 0x80C0E0u);
    EXPECT_EQ(c.At(7, 7) & 0xFFFFFF, 0x80C0E0u);
    EXPECT_EQ(c.At(8, 8), 0xFF204060u);

    Canvas b(10, 10, 0xFF000000);
    CPainter::FillColor(b.dc(), r, 0x80FFFFFF);
    // White at half coverage over black: grey.
    const uint32_t px = b.At(5, 5);
    EXPECT_TRUE(Near(Channel(px, 16), 0xFF * 0x80 / 0xFF, 4)) << std::hex << px;
    EXPECT_TRUE(Near(Channel(px, 0), Channel(px, 16), 1));
    EXPECT_EQ(b.At(1, 1), 0xFF000000u);
}

TEST(PainterFill, GradientBlendsWithTheMeanAlpha) {
    Canvas c(20, 20, 0xFF000000);
    const RECT r = {0, 0, 20, 20};
    // Alphas 0xFF and 0x00: drawn with constant alpha 127.
    CPainter::FillGradient(c.dc(), r, 0xFFFF0000, 0x00FF0000, true, 16);
    const uint32_t top = c.At(10, 0);
    EXPECT_TRUE(Near(Channel(top, 16), 127, 3)) << std::hex << top;
    EXPECT_EQ(Channel(top, 8), 0);

    Canvas none(4, 4, 0xFF000000);
    CPainter::FillGradient(none.dc(), RECT{0, 0, 4, 4}, 0x00FF0000, 0x01FF0000, true, 16);
    EXPECT_EQ(none.CountNot(0xFF000000, 0, 0, 4, 4), 0);

    // Opaque, horizontal: the first colour on the left.
    Canvas h(20, 4, 0);
    CPainter::FillGradient(h.dc(), RECT{0, 0, 20, 4}, 0xFFFF0000, 0xFF0000FF, false, 16);
    EXPECT_GT(Channel(h.At(0, 1), 16), 200);
    EXPECT_GT(Channel(h.At(19, 1), 0), 200);
}

TEST(PainterBlit, NineGridPartsLandInPlace) {
    ImageEntry* image = NineGridImage();
    Canvas c(40, 40, 0);
    const RECT dest = {5, 5, 35, 35};
    CPainter::BlitImage(c.dc(), image->bitmap, dest, dest, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, true);
    EXPECT_EQ(c.At(5, 5), kRed);
    EXPECT_EQ(c.At(34, 34), kRed);
    EXPECT_EQ(c.At(20, 5), kGreen);  // top edge, stretched
    EXPECT_EQ(c.At(5, 20), kGreen);  // left edge
    EXPECT_EQ(c.At(20, 20), kBlue);  // centre
    EXPECT_EQ(c.At(4, 4), 0u);       // outside the destination
    EXPECT_EQ(c.At(35, 20), 0u);

    // Hole: the centre stays untouched.
    Canvas hole(40, 40, 0);
    CPainter::BlitImage(hole.dc(), image->bitmap, dest, dest, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, true, 255,
                        true);
    EXPECT_EQ(hole.At(20, 20), 0u);
    EXPECT_EQ(hole.At(20, 5), kGreen);

    // Corners larger than half the destination: only the (overlapping) corners.
    Canvas small(20, 20, 0);
    const RECT tiny = {0, 0, 6, 6};
    CPainter::BlitImage(small.dc(), image->bitmap, tiny, tiny, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, true);
    EXPECT_EQ(small.CountNot(kRed, 0, 0, 6, 6), 0);
    EXPECT_EQ(small.CountNot(0, 6, 0, 20, 20), 0);

    // A paint rectangle touching only the left edge draws only that part, whole.
    Canvas part(40, 40, 0);
    CPainter::BlitImage(part.dc(), image->bitmap, dest, RECT{5, 18, 6, 19}, RECT{0, 0, 12, 12},
                        RECT{4, 4, 4, 4}, true);
    EXPECT_EQ(part.At(5, 10), kGreen);
    EXPECT_EQ(part.At(5, 5), 0u);
    EXPECT_EQ(part.At(20, 20), 0u);

    // Fade halves the image.
    Canvas faded(40, 40, 0);
    CPainter::BlitImage(faded.dc(), image->bitmap, dest, dest, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, true,
                        128);
    EXPECT_TRUE(Near(Channel(faded.At(20, 20), 0), 128, 2));
    delete image;
}

TEST(PainterBlit, OpaqueShortcutCopiesOnlyTheIntersection) {
    ImageEntry* image = MakeImage(10, 10, [](int x, int) { return x < 5 ? kRed : kBlue; });
    Canvas c(20, 20, 0);
    CPainter::BlitImage(c.dc(), image->bitmap, RECT{5, 5, 15, 15}, RECT{8, 0, 20, 20}, RECT{0, 0, 10, 10},
                        RECT{0, 0, 0, 0}, false);
    EXPECT_EQ(c.At(7, 7), 0u);
    EXPECT_EQ(c.At(8, 7) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(c.At(14, 14) & 0xFFFFFF, kBlue & 0xFFFFFF);
    delete image;
}

TEST(PainterBlit, XTiledCentreRepeats) {
    // Centre columns alternate blue and green every pixel of a 2-pixel centre.
    ImageEntry* image = MakeImage(2, 2, [](int x, int) { return x == 0 ? kBlue : kGreen; });
    Canvas c(20, 4, 0);
    CPainter::BlitImage(c.dc(), image->bitmap, RECT{0, 0, 9, 4}, RECT{0, 0, 20, 4}, RECT{0, 0, 2, 2},
                        RECT{0, 0, 0, 0}, true, 255, false, true, false);
    EXPECT_EQ(c.At(0, 3), kBlue);
    EXPECT_EQ(c.At(1, 3), kGreen);
    EXPECT_EQ(c.At(6, 0), kBlue);
    EXPECT_EQ(c.At(8, 0), kBlue);  // the last tile, cut to one column
    EXPECT_EQ(c.At(9, 0), 0u);
    delete image;
}

class PainterManager : public ::testing::Test {
protected:
    void SetUp() override {
        manager_.ReplaceDefaultFont(kFace, 16, false, false, false, false);
        manager_.StoreFont(1, kFace, 16, false, false, false, false);
    }
    void AddImage(const wchar_t* name, ImageEntry* image) {
        ASSERT_TRUE(manager_.OwnResources().images.Insert(name, image));
    }
    CManagerUI manager_;
};

TEST_F(PainterManager, ImageSpecDestinationAndSource) {
    AddImage(L"grid.png", NineGridImage());
    Canvas c(60, 60, 0);
    ImageSpec spec;
    SetImageSpecText(&spec, L"file='grid.png' dest='2,3,14,15' source='0,0,99,99'");
    const RECT item = {10, 10, 50, 50};
    EXPECT_TRUE(CPainter::DrawImageSpec(nullptr, &manager_, item, item, spec));
    EXPECT_EQ(c.CountNot(0, 0, 0, 60, 60), 0);
    // The source was cut to the image and kept.
    EXPECT_EQ(spec.source.right, 12);
    EXPECT_EQ(spec.source.bottom, 12);
    EXPECT_TRUE(spec.imageName == L"grid.png");

    EXPECT_TRUE(CPainter::DrawImageSpec(c.dc(), &manager_, item, item, spec));
    EXPECT_EQ(c.At(12, 13), kRed);
    EXPECT_EQ(c.At(23, 24), kRed);
    EXPECT_EQ(c.At(24, 25), 0u);
    EXPECT_EQ(c.At(11, 13), 0u);

    // A destination passing the item is cut to it.
    Canvas cut(60, 60, 0);
    ImageSpec wide;
    SetImageSpecText(&wide, L"file='grid.png' dest='30,30,80,80'");
    EXPECT_TRUE(CPainter::DrawImageSpec(cut.dc(), &manager_, item, item, wide));
    // (40, 40, 90, 90) cut to (40, 40, 50, 50); the whole image is stretched into it.
    EXPECT_EQ(cut.At(40, 40), kRed);
    EXPECT_EQ(cut.At(45, 45), kBlue);
    EXPECT_EQ(cut.At(50, 49), 0u);
    EXPECT_EQ(cut.CountNot(0, 0, 0, 60, 60), 10 * 10);

    // A destination of zero width draws nothing but still counts as resolved.
    Canvas zero(60, 60, 0);
    ImageSpec flat;
    SetImageSpecText(&flat, L"file='grid.png' dest='5,5,5,30'");
    EXPECT_TRUE(CPainter::DrawImageSpec(zero.dc(), &manager_, item, item, flat));
    EXPECT_EQ(zero.CountNot(0, 0, 0, 60, 60), 0);

    // A paint rectangle away from the destination draws nothing.
    Canvas away(60, 60, 0);
    EXPECT_TRUE(CPainter::DrawImageSpec(away.dc(), &manager_, item, RECT{40, 40, 50, 50}, spec));
    EXPECT_EQ(away.CountNot(0, 0, 0, 60, 60), 0);
}

TEST_F(PainterManager, FailedImageIsNotRetried) {
    Canvas c(20, 20, 0);
    ImageSpec spec;
    SetImageSpecText(&spec, L"file='painter-missing.png'");
    const RECT item = {0, 0, 20, 20};
    EXPECT_FALSE(CPainter::DrawImageSpec(c.dc(), &manager_, item, item, spec));
    EXPECT_EQ(spec.tried, 1);
    AddImage(L"painter-missing.png", NineGridImage());
    EXPECT_FALSE(CPainter::DrawImageSpec(c.dc(), &manager_, item, item, spec));
    EXPECT_EQ(c.CountNot(0, 0, 0, 20, 20), 0);
    // Changing the attribute resets the ImageSpec, and the image is found.
    SetImageSpecText(&spec, L"file='painter-missing.png'");
    EXPECT_TRUE(CPainter::DrawImageSpec(c.dc(), &manager_, item, item, spec));
    EXPECT_EQ(c.At(0, 0), kRed);

    ImageSpec empty;
    EXPECT_FALSE(CPainter::DrawImageSpec(c.dc(), &manager_, item, item, empty));
}

// The most covered pixel of a text drawn on a transparent canvas.
uint32_t StrongestPixel(Canvas& c) {
    uint32_t best = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if ((c.At(x, y) >> 24) > (best >> 24)) best = c.At(x, y);
    return best;
}

TEST_F(PainterManager, PlainTextColours) {
    Canvas black(80, 30, 0);
    CPainter::DrawPlainText(black.dc(), &manager_, RECT{0, 0, 80, 30}, L"HHHH", 0xFF000000, 1, DT_SINGLELINE);
    const uint32_t px = StrongestPixel(black);
    ASSERT_GT(px >> 24, 0xC0u) << std::hex << px;
    // 0x024CA1 premultiplied by the coverage.
    const int a = int(px >> 24);
    EXPECT_TRUE(Near(Channel(px, 0), 0xA1 * a / 256, 2)) << std::hex << px;
    EXPECT_TRUE(Near(Channel(px, 8), 0x4C * a / 256, 2)) << std::hex << px;
    EXPECT_LE(Channel(px, 16), 2);

    // Alpha 0 does not matter: red text.
    Canvas red(80, 30, 0);
    CPainter::DrawPlainText(red.dc(), &manager_, RECT{0, 0, 80, 30}, L"HHHH", 0x00FF0000, 1, DT_SINGLELINE);
    const uint32_t rp = StrongestPixel(red);
    ASSERT_GT(rp >> 24, 0xC0u);
    EXPECT_EQ(rp & 0xFFFF, 0u);
    EXPECT_GT(Channel(rp, 16), 0xC0);

    // Clipped to the rectangle: nothing outside it.
    Canvas clip(80, 40, 0);
    CPainter::DrawPlainText(clip.dc(), &manager_, RECT{10, 10, 30, 30}, L"HHHHHHHH", 0xFFFFFFFF, 1,
                            DT_SINGLELINE);
    EXPECT_GT(clip.CountNot(0, 10, 10, 30, 30), 0);
    EXPECT_EQ(clip.CountNot(0, 30, 0, 80, 40), 0);
}

RECT Measure(CManagerUI& manager, HDC dc, const wchar_t* text) {
    RECT r = {0, 0, 1000, 100};
    int links = 0;
    CPainter::DrawMarkupText(dc, &manager, r, text, 0xFF000000, nullptr, nullptr, links,
                             DT_CALCRECT | DT_SINGLELINE);
    return r;
}

TEST_F(PainterManager, MarkupEscapesUnknownTagsAndBold) {
    Canvas c(10, 10, 0);
    EXPECT_EQ(Measure(manager_, c.dc(), L"<{>").right, Measure(manager_, c.dc(), L"{").right);
    // Raw text shows the angle brackets as they are.
    EXPECT_EQ(Measure(manager_, c.dc(), L"{<}x{>}").right, Measure(manager_, c.dc(), L"<r><x></r>").right);
    EXPECT_EQ(Measure(manager_, c.dc(), L"a<q>bc</q>d").right, Measure(manager_, c.dc(), L"abcd").right);
    EXPECT_GT(Measure(manager_, c.dc(), L"abcd").right, 0);

    // A bold run uses a bold font of the same face and size, made for the
    // window; the text after it goes back to the previous font.
    Canvas t(200, 40, 0);
    RECT r = {0, 0, 200, 40};
    int links = 0;
    CPainter::DrawMarkupText(t.dc(), &manager_, r, L"<b>WW</b>ii", 0xFFFFFFFF, nullptr, nullptr, links,
                             DT_SINGLELINE);
    EXPECT_NE(manager_.FindFontHandle(kFace, 16, true, false, false), nullptr);
    EXPECT_GT(t.CountNot(0, 0, 0, 200, 40), 0);
}

// On a layered window's canvas a pixel nothing draws stays transparent, so
// everything drawn opaquely must leave its alpha at 0xFF.
TEST_F(PainterManager, OpaqueDrawingIsOpaqueOnATransparentCanvas) {
    Canvas fill(20, 20, 0);
    CPainter::FillColor(fill.dc(), RECT{2, 2, 18, 18}, 0xFF336699);
    EXPECT_EQ(fill.At(10, 10), 0xFF336699u);
    EXPECT_EQ(fill.At(0, 0), 0u);

    Canvas frame(20, 20, 0);
    CPainter::DrawFrameRect(frame.dc(), RECT{2, 2, 18, 18}, 2, 0xFFFF0000);
    EXPECT_EQ(frame.At(2, 10), 0xFFFF0000u);
    EXPECT_EQ(frame.At(17, 10), 0xFFFF0000u);
    EXPECT_EQ(frame.At(10, 10), 0u);  // inside the frame
    EXPECT_EQ(frame.At(1, 10), 0u);   // outside it

    Canvas line(20, 20, 0);
    CPainter::DrawLineSegment(line.dc(), RECT{0, 5, 19, 5}, 1, 0xFF00FF00, PS_SOLID);
    EXPECT_EQ(line.At(10, 5), 0xFF00FF00u);
    EXPECT_EQ(line.At(10, 8), 0u);

    Canvas round(30, 30, 0);
    CPainter::DrawRoundFrame(round.dc(), RECT{0, 0, 30, 30}, 1, 6, 6, 0xFF0000FF);
    EXPECT_EQ(round.At(15, 0), 0xFF0000FFu);
    EXPECT_EQ(round.At(15, 15), 0u);

    Canvas text(120, 40, 0);
    RECT r = {0, 0, 120, 40};
    int links = 0;
    CPainter::DrawMarkupText(text.dc(), &manager_, r, L"HHHH", 0xFFFFFFFF, nullptr, nullptr, links,
                             DT_SINGLELINE);
    EXPECT_EQ(StrongestPixel(text) >> 24, 0xFFu);
}

TEST_F(PainterManager, MarkupColourRun) {
    Canvas c(200, 40, 0xFF000000);
    RECT r = {0, 0, 200, 40};
    int links = 0;
    CPainter::DrawMarkupText(c.dc(), &manager_, r, L"<c #FF0000>HHHH</c>HHHH", 0xFF00FF00, nullptr, nullptr,
                             links, DT_SINGLELINE);
    const int split = Measure(manager_, c.dc(), L"HHHH").right;
    ASSERT_GT(split, 10);
    int red = 0, green = 0, wrongLeft = 0, wrongRight = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = c.At(x, y);
            const bool isRed = Channel(p, 16) > 0x80, isGreen = Channel(p, 8) > 0x80;
            if (x < split - 1) {
                red += isRed;
                wrongLeft += isGreen;
            } else if (x > split + 1) {
                green += isGreen;
                wrongRight += isRed;
            }
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(green, 10);
    EXPECT_EQ(wrongLeft, 0);
    EXPECT_EQ(wrongRight, 0);
}

TEST_F(PainterManager, MarkupFontsFrom30000AndLinks) {
    Canvas c(300, 100, 0);
    RECT r = {0, 0, 300, 100};
    int links = 0;
    CPainter::DrawMarkupText(c.dc(), &manager_, r, L"<f \u5FAE\u8F6F\u96C5\u9ED1 23 bold>x</f>", 0xFFFFFFFF,
                             nullptr, nullptr, links, 0);
    HFONT made = manager_.FindFontHandle(kFace, 23, true, false, false);
    ASSERT_NE(made, nullptr);
    bool found = false;
    for (int id = 30000; id < 30100 && !found; ++id) {
        const FontEntry* e = manager_.FontInfo(id);
        found = e != nullptr && e->font == made;
    }
    EXPECT_TRUE(found);

    RECT linkRects[4] = {};
    UiString linkTexts[4];
    int count = 4;
    RECT area = {10, 10, 300, 100};
    CPainter::DrawMarkupText(c.dc(), &manager_, area, L"go <a http://a/>here</a> or <a b>there</a>",
                             0xFFFFFFFF, linkRects, linkTexts, count, 0);
    ASSERT_EQ(count, 2);
    EXPECT_TRUE(linkTexts[0] == L"http://a/");
    EXPECT_TRUE(linkTexts[1] == L"b");
    const int before = Measure(manager_, c.dc(), L"go ").right;
    EXPECT_EQ(linkRects[0].left, 10 + before);
    EXPECT_EQ(linkRects[0].top, 10);
    EXPECT_GT(linkRects[0].bottom, 20);
    EXPECT_GT(linkRects[1].left, linkRects[0].right);
    // Capacity 1 keeps only the first link.
    count = 1;
    CPainter::DrawMarkupText(c.dc(), &manager_, area, L"<a x>1</a><a y>2</a>", 0xFFFFFFFF, linkRects,
                             linkTexts, count, 0);
    EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace SkinUI
