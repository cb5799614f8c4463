// ImageEntry loading on Windows: the DIB section and the file fallbacks.
#include "ui/skin/image_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/skin/image_fixtures.h"
#include "tests/skin/test_text.h"
#include "tests/skin/zip_builder.h"
#include "ui/skin/skin_sources.h"

namespace {

using kelo_test::W;
using SkinUI::ImageEntry;
using SkinUI::SkinSources;

class ImageEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        SkinSources::Reset();
        folder_ = ::testing::TempDir() + "image_entry_test\\";
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        SkinSources::Reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string folder_;
};

TEST_F(ImageEntryTest, DibSectionHoldsPremultipliedPixels) {
    const std::string png = kelo_test::PngOf(4, 3, {255, 0, 0, 128});
    std::unique_ptr<ImageEntry> image(SkinUI::MakeImageEntry(png.data(), png.size(), 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 3);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_FALSE(image->useHSL);
    EXPECT_EQ(image->srcBits, nullptr);
    EXPECT_EQ(image->mask, 0u);
    EXPECT_TRUE(image->resType.IsEmpty());
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(image->bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(dib.dsBm.bmHeight, 3);
    EXPECT_EQ(dib.dsBm.bmBits, image->bits);
    const uint8_t expected[4] = {0, 0, 128, 128};
    EXPECT_EQ(std::memcmp(image->bits + 4 * 11, expected, 4), 0);

    const std::string magenta = kelo_test::PngOf(2, 2, {255, 0, 255, 255});
    std::unique_ptr<ImageEntry> masked(SkinUI::MakeImageEntry(magenta.data(), magenta.size(), 0xFFFF00FF));
    ASSERT_TRUE(masked);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(masked->bits)[3], 0u);
}

TEST_F(ImageEntryTest, SourcesAndFallbacks) {
    const std::string red = kelo_test::PngOf(1, 1, {255, 0, 0, 255});
    const std::string blue = kelo_test::PngOf(2, 1, {0, 0, 255, 255});
    ASSERT_TRUE(kelo_test::WriteFile(folder_ + "red.png", red));
    const std::string zip =
        kelo_test::ZipBuilder().Add("png/blue.png", blue).Add("png/empty.png", "").Build();
    const std::string absolute = folder_ + "red.png";

    // Skin folder.
    SkinSources::SetSkinFolderPath(W(folder_));
    std::unique_ptr<ImageEntry> image(SkinUI::LoadImageEntry(UI_TEXT("red.png"), nullptr, 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1);
    EXPECT_FALSE(SkinUI::LoadImageEntry(UI_TEXT("missing.png"), nullptr, 0));

    // Archive in memory; names ignore case; an absolute path still works.
    SkinSources::UseSkinArchiveMemory(zip.data(), zip.size());
    image.reset(SkinUI::LoadImageEntry(UI_TEXT("PNG\\BLUE.png"), nullptr, 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_FALSE(SkinUI::LoadImageEntry(UI_TEXT("png/empty.png"), nullptr, 0));
    EXPECT_FALSE(SkinUI::LoadImageEntry(UI_TEXT("red.png"), nullptr, 0)) << "not in the archive";
    image.reset(SkinUI::LoadImageEntry(W(absolute), nullptr, 0));
    ASSERT_TRUE(image) << "absolute path fallback";
    EXPECT_EQ(image->width, 1);

    // A resource type that does not exist: no other source is tried.
    EXPECT_FALSE(SkinUI::LoadImageEntry(W(absolute), UI_TEXT("PNG"), 0));
    EXPECT_FALSE(SkinUI::LoadImageEntry(MAKEINTRESOURCEW(7), UI_TEXT("PNG"), 0));
}

}  // namespace
