// The frame arithmetic of skinned windows: hit zones of the resize borders
// and the caption band, centring inside the work area, rounded regions.
#include "ui/core/window_geometry.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

FrameRect Rect(int l, int t, int r, int b) {
    FrameRect rect;
    rect.left = l;
    rect.top = t;
    rect.right = r;
    rect.bottom = b;
    return rect;
}

TEST(WindowGeometryTest, ResizeBordersAndCorners) {
    const FrameRect client = Rect(0, 0, 300, 200);
    const FrameRect box = Rect(4, 4, 4, 4);
    struct Case {
        int x, y, expected;
    } cases[] = {
        {0, 0, FrameHitTopLeft},      {3, 3, FrameHitTopLeft},         {4, 3, FrameHitTop},
        {296, 3, FrameHitTop},        {297, 3, FrameHitTopRight},      {299, 0, FrameHitTopRight},
        {0, 199, FrameHitBottomLeft}, {299, 199, FrameHitBottomRight}, {150, 197, FrameHitBottom},
        {3, 100, FrameHitLeft},       {297, 100, FrameHitRight},       {4, 4, FrameHitClient},
        {296, 196, FrameHitClient},   {150, 100, FrameHitClient},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResizeBorderHit(client, box, {c.x, c.y}), c.expected) << c.x << "," << c.y;
    }
    // No size box: no borders at all.
    EXPECT_EQ(ResizeBorderHit(client, Rect(0, 0, 0, 0), {0, 0}), FrameHitClient);
    EXPECT_EQ(ResizeBorderHit(client, Rect(0, 0, 0, 0), {299, 199}), FrameHitClient);
}

TEST(WindowGeometryTest, CaptionBandAndWhichControlsDrag) {
    const FrameRect client = Rect(0, 0, 300, 200);
    const FrameRect caption = Rect(10, 0, 20, 30);  // insets left and right, band 0..30
    EXPECT_TRUE(InCaptionBand(client, caption, {10, 0}));
    EXPECT_TRUE(InCaptionBand(client, caption, {279, 29}));
    EXPECT_FALSE(InCaptionBand(client, caption, {9, 10}));    // in the left inset
    EXPECT_FALSE(InCaptionBand(client, caption, {280, 10}));  // in the right inset
    EXPECT_FALSE(InCaptionBand(client, caption, {100, 30}));  // below the band
    EXPECT_FALSE(InCaptionBand(client, Rect(0, 0, 0, 0), {0, 0}));

    EXPECT_TRUE(CaptionControlDrags(L"LabelUI"));
    EXPECT_TRUE(CaptionControlDrags(L"HorizontalLayoutUI"));
    EXPECT_FALSE(CaptionControlDrags(L"ButtonUI"));
    EXPECT_FALSE(CaptionControlDrags(L"optionui"));
    EXPECT_FALSE(CaptionControlDrags(L"TextUI"));
    EXPECT_TRUE(CaptionControlDrags(L"CheckBoxUI"));
}

TEST(WindowGeometryTest, CentringStaysInsideTheWorkArea) {
    const FrameRect work = Rect(0, 0, 1280, 984);
    struct Case {
        const char* what;
        FrameRect area;
        int width, height, x, y;
    } cases[] = {
        {"work area", work, 718, 463, 281, 261},
        {"owner", Rect(200, 150, 800, 550), 300, 200, 350, 250},
        {"odd sizes round down", Rect(0, 0, 101, 101), 51, 51, 25, 25},
        {"owner near the left edge", Rect(-300, 100, 100, 300), 300, 100, 0, 150},
        {"owner near the bottom right", Rect(1200, 900, 1400, 1100), 300, 200, 980, 784},
        {"larger than the work area", work, 2000, 100, 0, 442},
    };
    for (const Case& c : cases) {
        FramePoint pt = CenteredPosition(c.area, work, c.width, c.height);
        EXPECT_EQ(pt.x, c.x) << c.what;
        EXPECT_EQ(pt.y, c.y) << c.what;
    }
}

TEST(WindowGeometryTest, RoundRegionIsOnePixelLargerAtOrigin) {
    FrameRect r = RoundRegionRect(Rect(281, 261, 999, 724));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 719);
    EXPECT_EQ(r.bottom, 464);
}

}  // namespace
}  // namespace SkinUI
