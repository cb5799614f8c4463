// The painter's plain arithmetic: image attribute parsing, destination and
// source rules, nine-grid plans and colour math.
#include "ui/core/image_spec.h"
#include "ui/core/painter_color.h"
#include "ui/core/painter_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

UiString U(const char* ascii) {
    UiString s;
    for (const char* p = ascii; *p != 0; ++p) s.Append(UiChar(*p));
    return s;
}

std::string Str(const UiString& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += char(s.At(i));
    return out;
}

bool Same(const UiRect& r, int l, int t, int rr, int b) {
    return r.left == l && r.top == t && r.right == rr && r.bottom == b;
}

TEST(ImageSpecParse, NamesAndPairs) {
    struct Case {
        const char* text;
        const char* name;
        bool resource;
        const char* resType;
        UiRect corner;
    };
    const Case cases[] = {
        {"png/bk.png", "png/bk.png", false, "", {0, 0, 0, 0}},
        {"file='png/btn_hot.png' corner='4,4,4,4'", "png/btn_hot.png", false, "", {4, 4, 4, 4}},
        // Without a space between the pairs only the first one counts.
        {"file='png/btn_hot.png'corner='4,4,4,4'", "png/btn_hot.png", false, "", {0, 0, 0, 0}},
        {"res='101' restype='PNG'", "101", true, "PNG", {0, 0, 0, 0}},
        {"restype='PNG' res='101'", "101", true, "PNG", {0, 0, 0, 0}},
        {"file='a.png' restype='PNG'", "a.png", false, "PNG", {0, 0, 0, 0}},
        // An empty value is skipped, an unknown key ignored.
        {"file='' corner='1,2,3,4'", "file='' corner='1,2,3,4'", false, "", {1, 2, 3, 4}},
        {"File='a.png' colour='red' corner='1, 2, 3, 4'",
         "File='a.png' colour='red' corner='1, 2, 3, 4'",
         false,
         "",
         {1, 2, 3, 4}},
        // A value without its closing quote ends the parse.
        {"corner='1,1,1,1' file='a.png", "corner='1,1,1,1' file='a.png", false, "", {1, 1, 1, 1}},
        {"  file  =  'x.png'", "x.png", false, "", {0, 0, 0, 0}},
        {"my image.png", "my image.png", false, "", {0, 0, 0, 0}},
        {"", "", false, "", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ImageSpec spec;
        ImageLoadOptions options;
        ParseImageSpecText(U(c.text), &spec, &options);
        EXPECT_EQ(Str(options.name), c.name);
        EXPECT_EQ(options.isResource, c.resource);
        EXPECT_EQ(Str(options.resourceType), c.resType);
        EXPECT_TRUE(RectEquals(spec.corner, c.corner));
    }
}

TEST(ImageSpecParse, NumbersFlagsFadeAndMask) {
    ImageSpec spec;
    ImageLoadOptions options;
    ParseImageSpecText(U("file='a.png' dest='0,0,18,18' source='1, 2, 30, 40' fade='300' hole='true' "
                         "xtiled='true' ytiled='yes' mask='#FFFF00FF' hsl='true'"),
                       &spec, &options);
    EXPECT_TRUE(Same(spec.dest, 0, 0, 18, 18));
    EXPECT_TRUE(Same(spec.source, 1, 2, 30, 40));
    EXPECT_EQ(spec.fade, 300 & 0xFF);
    EXPECT_EQ(spec.hole, 1);
    EXPECT_EQ(spec.xtiled, 1);
    EXPECT_EQ(spec.ytiled, 0);
    EXPECT_EQ(options.mask, 0xFFFF00FFu);
    EXPECT_TRUE(options.hsl);

    ImageSpec partial;
    ParseImageSpecText(U("corner='5,6'"), &partial, &options);
    EXPECT_TRUE(Same(partial.corner, 5, 6, 0, 0));
    ParseImageSpecText(U("mask='00FF00' dest='-2,x,3,4'"), &partial, &options);
    EXPECT_EQ(options.mask, 0x00FF00u);
    // "x" reads as 0 and the next number starts one character later.
    EXPECT_TRUE(Same(partial.dest, -2, 0, 0, 3));
}

TEST(ImageSpecParse, ResetClearsEverythingAndRestoresFade) {
    ImageSpec spec;
    SetImageSpecText(&spec, U("file='a.png' fade='10' corner='1,1,1,1'"));
    spec.tried = 1;
    spec.imageName = U("a.png");
    spec.fade = 10;
    spec.hole = 1;
    spec.corner = MakeUiRect(1, 1, 1, 1);
    ResetImageSpec(&spec);
    EXPECT_TRUE(spec.text.IsEmpty());
    EXPECT_TRUE(spec.imageName.IsEmpty());
    EXPECT_EQ(spec.tried, 0);
    EXPECT_EQ(spec.fade, 255);
    EXPECT_EQ(spec.hole, 0);
    EXPECT_TRUE(RectIsZero(spec.corner));
}

TEST(ImageDest, MovedIntoItemAndCut) {
    const UiRect item = MakeUiRect(17, 410, 117, 440);
    EXPECT_TRUE(Same(ImageDestRect(item, MakeUiRect(0, 0, 18, 18)), 17, 410, 35, 428));
    EXPECT_TRUE(Same(ImageDestRect(item, MakeUiRect(0, 0, 0, 0)), 17, 410, 117, 440));
    EXPECT_TRUE(Same(ImageDestRect(item, MakeUiRect(90, 20, 200, 50)), 107, 430, 117, 440));
    EXPECT_TRUE(RectIsEmpty(ImageDestRect(item, MakeUiRect(5, 5, 5, 20))));

    UiRect source = MakeUiRect(2, 3, 500, 600);
    ClampImageSource(&source, 40, 30);
    EXPECT_TRUE(Same(source, 2, 3, 40, 30));
}

std::vector<BlitPart> Plan(UiRect dest, UiRect paint, UiRect src, UiRect corners, bool blended = true,
                           bool hole = false, bool xtiled = false, bool ytiled = false) {
    return PlanNineGrid(dest, paint, src, corners, blended, hole, xtiled, ytiled);
}

TEST(NineGrid, OpaqueShortcutCopiesOnlyThePaintedPart) {
    const auto parts = Plan(MakeUiRect(10, 10, 30, 30), MakeUiRect(20, 0, 100, 25), MakeUiRect(5, 5, 25, 25),
                            MakeUiRect(0, 0, 0, 0), false);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(Same(parts[0].dest, 20, 10, 30, 25));
    EXPECT_TRUE(Same(parts[0].source, 15, 5, 25, 20));
    // Blended copies are not cut to the paint rectangle.
    const auto blended = Plan(MakeUiRect(10, 10, 30, 30), MakeUiRect(20, 0, 100, 25),
                              MakeUiRect(5, 5, 25, 25), MakeUiRect(0, 0, 0, 0), true);
    ASSERT_EQ(blended.size(), 1u);
    EXPECT_TRUE(Same(blended[0].dest, 10, 10, 30, 30));
}

TEST(NineGrid, PartsLandInTheirPlaces) {
    const UiRect dest = MakeUiRect(0, 0, 40, 30);
    const auto parts = Plan(dest, dest, MakeUiRect(0, 0, 12, 12), MakeUiRect(4, 4, 4, 4));
    ASSERT_EQ(parts.size(), 9u);
    const int expected[9][8] = {
        {4, 4, 36, 26, 4, 4, 8, 8},      // centre
        {0, 0, 4, 4, 0, 0, 4, 4},        // top-left
        {4, 0, 36, 4, 4, 0, 8, 4},       // top
        {36, 0, 40, 4, 8, 0, 12, 4},     // top-right
        {0, 4, 4, 26, 0, 4, 4, 8},       // left
        {36, 4, 40, 26, 8, 4, 12, 8},    // right
        {0, 26, 4, 30, 0, 8, 4, 12},     // bottom-left
        {4, 26, 36, 30, 4, 8, 8, 12},    // bottom
        {36, 26, 40, 30, 8, 8, 12, 12},  // bottom-right
    };
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const int* e = expected[i];
        EXPECT_TRUE(Same(parts[size_t(i)].dest, e[0], e[1], e[2], e[3]));
        EXPECT_TRUE(Same(parts[size_t(i)].source, e[4], e[5], e[6], e[7]));
    }
    // Hole: no centre; a paint rectangle on the left edge keeps only the parts it touches.
    EXPECT_EQ(Plan(dest, dest, MakeUiRect(0, 0, 12, 12), MakeUiRect(4, 4, 4, 4), true, true).size(), 8u);
    EXPECT_EQ(Plan(dest, MakeUiRect(0, 10, 2, 12), MakeUiRect(0, 0, 12, 12), MakeUiRect(4, 4, 4, 4)).size(),
              1u);
}

TEST(NineGrid, CornersLargerThanHalfLeaveOnlyTheCorners) {
    const UiRect dest = MakeUiRect(0, 0, 10, 10);
    const auto parts = Plan(dest, dest, MakeUiRect(0, 0, 20, 20), MakeUiRect(8, 8, 8, 8));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_TRUE(Same(parts[0].dest, 0, 0, 8, 8));
    EXPECT_TRUE(Same(parts[1].dest, 2, 0, 10, 8));
    EXPECT_TRUE(Same(parts[2].dest, 0, 2, 8, 10));
    EXPECT_TRUE(Same(parts[3].dest, 2, 2, 10, 10));
}

TEST(NineGrid, TilingCutsTheLastTile) {
    const UiRect dest = MakeUiRect(0, 0, 25, 10);
    const UiRect none = MakeUiRect(0, 0, 0, 0);
    auto x = Plan(dest, dest, MakeUiRect(0, 0, 10, 4), none, true, false, true, false);
    ASSERT_EQ(x.size(), 3u);
    EXPECT_TRUE(Same(x[0].dest, 0, 0, 10, 10));
    EXPECT_TRUE(Same(x[0].source, 0, 0, 10, 4));
    EXPECT_TRUE(Same(x[2].dest, 20, 0, 25, 10));
    EXPECT_TRUE(Same(x[2].source, 0, 0, 5, 4));

    auto y = Plan(dest, dest, MakeUiRect(0, 0, 10, 4), none, true, false, false, true);
    ASSERT_EQ(y.size(), 3u);
    EXPECT_TRUE(Same(y[2].dest, 0, 8, 25, 10));
    EXPECT_TRUE(Same(y[2].source, 0, 0, 10, 2));

    auto both = Plan(dest, dest, MakeUiRect(0, 0, 10, 4), none, true, false, true, true);
    ASSERT_EQ(both.size(), 9u);
    EXPECT_TRUE(Same(both[8].dest, 20, 8, 25, 10));
    EXPECT_TRUE(Same(both[8].source, 0, 0, 5, 2));

    // Corners that leave no source centre: no centre, only the edges and corners.
    auto empty = Plan(dest, dest, MakeUiRect(0, 0, 8, 8), MakeUiRect(4, 4, 4, 4), true, false, true, false);
    for (const BlitPart& p : empty) EXPECT_FALSE(RectEquals(p.dest, MakeUiRect(4, 4, 21, 6)));
}

TEST(PainterColor, Rules) {
    EXPECT_EQ(PlainTextRgb(0xFF000000), 0x024CA1u);
    EXPECT_EQ(PlainTextRgb(0x00FF0000), 0xFF0000u);
    EXPECT_EQ(PlainTextRgb(0x80123456), 0x123456u);
    EXPECT_EQ(PremultiplyArgb(0x80FF4000), 0x80802000u);
    EXPECT_EQ(PremultiplyArgb(0xFF123456), 0xFF123456u);
    EXPECT_EQ(GradientAlpha(0xFF000000, 0x00FFFFFF), 127);
    EXPECT_EQ(ArgbToColorRef(0x80123456), 0x563412u);
    // Full coverage of 0x024CA1: each channel * 255 / 256.
    EXPECT_EQ(CoverageToPremultiplied(0x00FFFFFF, 0x024CA1), 0xFF014BA0u);
    EXPECT_EQ(CoverageToPremultiplied(0x00808080, 0xFF0000), 0x807F0000u);
    EXPECT_EQ(CoverageToPremultiplied(0, 0xFFFFFF), 0u);
    EXPECT_EQ(CoverageToPremultipliedExact(0x00FFFFFF, 0xFF8001), 0xFFFF8001u);
    EXPECT_EQ(CoverageToPremultipliedExact(0x00808080, 0xFF0000), 0x80800000u);
    EXPECT_EQ(CoverageToPremultipliedExact(0, 0xFFFFFF), 0u);
}

TEST(PainterColor, HslShift) {
    const uint32_t colors[] = {0xFF123456, 0x80FF0000, 0x00000000, 0xFFFFFFFF};
    for (uint32_t c : colors) EXPECT_EQ(ShiftColorHsl(c, 180, 100, 100), c);
    // Hue +120 degrees: red becomes green, alpha kept.
    EXPECT_EQ(ShiftColorHsl(0x80FF0000, 300, 100, 100), 0x8000FF00u);
    // Hue -120 degrees: red becomes blue (a result <= 0 wraps).
    EXPECT_EQ(ShiftColorHsl(0xFFFF0000, 60, 100, 100), 0xFF0000FFu);
    // Saturation 0: grey of the same lightness.
    EXPECT_EQ(ShiftColorHsl(0xFFFF0000, 180, 0, 100), 0xFF808080u);
    // Lightness 50%: half as light.
    EXPECT_EQ(ShiftColorHsl(0xFFFFFFFF, 180, 100, 50), 0xFF808080u);
}

}  // namespace
}  // namespace SkinUI
