#include "ui/controls/progress_ui.h"

#include <gtest/gtest.h>

#include "tests/ui/controls_fixtures.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/vertical_layout_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace {

using testing_support::AddPlaced;
using testing_support::Canvas;
using testing_support::SkinFolder;
using testing_support::WindowedManager;

class ProgressTree : public ::testing::Test {
protected:
    void SetUp() override {
        CManagerUI::SetSkinFolderPath(SkinFolder("controls").c_str());
        root = new CContainerUI;
        ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    }
    void TearDown() override { CManagerUI::SetSkinFolderPath(L""); }

    CProgressUI* AddBar(const wchar_t* attributes) {
        return AddPlaced(root, new CProgressUI, attributes, {0, 0, 800, 220});
    }

    WindowedManager wm;
    CContainerUI* root = nullptr;
};

TEST_F(ProgressTree, FillWidthsOnASevenHundredPixelBar) {
    CProgressUI* bar =
        AddBar(L"float=\"true\" pos=\"0,0,700,4\" bkimage=\"png/track.png\" foreimage=\"png/fill.png\"");
    Canvas canvas(800, 220);
    for (int value : {0, 1, 33, 50, 100}) {
        bar->SetValue(value);
        root->Paint(canvas.dc(), canvas.Whole());
        const int width = 700 * value / 100;
        EXPECT_EQ(bar->ForeImageSpec().dest.right, width) << value;
        // The fill's last column, and the track right after it.
        if (width > 0) {
            EXPECT_NE(canvas.Rgb(width - 1, 1), 0xDCDCDCu) << value;
        }
        if (width < 700) {
            EXPECT_EQ(canvas.Rgb(width, 1), 0xDCDCDCu) << value;
        }
    }
}

TEST_F(ProgressTree, RangeIsRepairedAndValueClampedOnlyAtPaint) {
    CProgressUI* bar =
        AddBar(L"float=\"true\" pos=\"0,0,700,4\" foreimage=\"png/fill.png\" min=\"10\" max=\"10\"");
    Canvas canvas(800, 220);
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(bar->MaxValue(), 11);
    bar->SetMinValue(0);
    bar->SetMaxValue(100);
    bar->SetValue(150);
    EXPECT_EQ(bar->Value(), 150);
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(bar->ForeImageSpec().dest.right, 700);
}

TEST_F(ProgressTree, VerticalBarFillsFromTheBottom) {
    CProgressUI* bar =
        AddBar(L"float=\"true\" pos=\"10,10,30,210\" hor=\"false\" value=\"25\" foreimage=\"png/fill.png\"");
    Canvas canvas(800, 220);
    root->Paint(canvas.dc(), canvas.Whole());
    const UiRect dest = bar->ForeImageSpec().dest;
    EXPECT_EQ(dest.top, 150);
    EXPECT_EQ(dest.bottom, 200);
    EXPECT_EQ(canvas.Pixel(20, 159) >> 24, 0u);  // above the fill: nothing
    EXPECT_EQ(canvas.Pixel(20, 161) >> 24, 0xFFu);
}

TEST_F(ProgressTree, UnstretchedShowsTheImageAtItsOwnSize) {
    CProgressUI* stretched =
        AddBar(L"float=\"true\" pos=\"0,0,700,4\" value=\"50\" foreimage=\"png/fill.png\"");
    CProgressUI* cut = AddBar(
        L"float=\"true\" pos=\"0,10,700,14\" value=\"50\" isstretchfore=\"false\" "
        L"foreimage=\"png/fill.png\"");
    Canvas canvas(800, 220);
    root->Paint(canvas.dc(), canvas.Whole());
    // The image's red byte counts its columns (mod 256).
    EXPECT_EQ((canvas.Rgb(200, 11) >> 16) & 0xFF, 200u);  // column 200 at 200
    EXPECT_EQ(cut->ForeImageSpec().source.right, 350);
    // Stretched: the whole 800 columns squeezed into 350 pixels.
    EXPECT_EQ(stretched->ForeImageSpec().source.right, 800);
    const uint32_t red = (canvas.Rgb(200, 1) >> 16) & 0xFF;
    const uint32_t green = (canvas.Rgb(200, 1) >> 8) & 0xFF;
    EXPECT_EQ(green, 80u);  // column 457 (256..511)
    EXPECT_NEAR(int(red), 457 - 256, 3);
}

TEST_F(ProgressTree, DefaultHeightInAVerticalLayout) {
    auto* layout = new CVerticalLayoutUI;
    root->Add(layout);
    auto* bar = new CProgressUI;
    layout->Add(bar);
    layout->Place({0, 0, 300, 200}, false);
    EXPECT_EQ(bar->Height(), 12);
    EXPECT_EQ(bar->TextStyle(), 0x21u);
}

}  // namespace
}  // namespace SkinUI
