// CManagerUI resources: lookup order own -> shared -> default.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/skin/image_fixtures.h"
#include "tests/skin/zip_builder.h"
#include "ui/core/manager_ui.h"
#include "ui/skin/image_entry.h"
#include "ui/skin/skin_sources.h"

namespace {

using SkinUI::CManagerUI;
using SkinUI::FontEntry;
using SkinUI::ImageEntry;

// Every test leaves the shared set as it found it.
class ManagerResourcesTest : public ::testing::Test {
protected:
    void TearDown() override {
        CManagerUI m;
        m.DropAllFonts(true);
        m.DropAllImages(true);
        m.DropAllClassDefaults(true);
        SkinUI::SkinSources::Reset();
    }
};

TEST_F(ManagerResourcesTest, SharedDefaultFontIsTheStockGuiFont) {
    CManagerUI m;
    LOGFONTW stock = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    FontEntry* font = m.DefaultFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, &CManagerUI::SharedResources().defaultFont);
    EXPECT_EQ(std::wstring(font->face.Data()), std::wstring(stock.lfFaceName));
    EXPECT_EQ(font->size, -stock.lfHeight);
    EXPECT_NE(font->font, nullptr);
    EXPECT_EQ(m.FontHandle(-1), font->font);
    EXPECT_EQ(m.FontHandle(4242), font->font);
    EXPECT_EQ(font->metrics.tmHeight, 0) << "no paint DC yet";
}

TEST_F(ManagerResourcesTest, OwnFontHidesSharedFontInThatWindowOnly) {
    CManagerUI a, b;
    HFONT shared = a.StoreFont(1, L"Tahoma", 18, false, false, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(b.FontHandle(1), shared) << "a shared font is visible to every window";
    HFONT own = b.StoreFont(1, L"Arial", 12, true, false, false, false);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(b.FontHandle(1), own);
    EXPECT_EQ(a.FontHandle(1), shared);
    EXPECT_EQ(b.FontInfo(1)->face, L"Arial");
    EXPECT_EQ(b.FontInfo(1)->bold, 1);

    // FontInfoOfHandle: own entry, shared entry, else the default font.
    EXPECT_EQ(b.FontInfoOfHandle(own)->font, own);
    EXPECT_EQ(b.FontInfoOfHandle(shared)->font, shared);
    EXPECT_EQ(a.FontInfoOfHandle(own), a.DefaultFont()) << "b's font is unknown to a";
    EXPECT_EQ(a.FontInfoOfHandle(nullptr), a.DefaultFont());

    // FindFontHandle: own set first, exact face and flags.
    a.StoreFont(2, L"Arial", 12, true, false, false, false);
    EXPECT_EQ(b.FindFontHandle(L"Arial", 12, true, false, false), own);
    EXPECT_EQ(b.FindFontHandle(L"Tahoma", 18, false, false, false), shared);
    EXPECT_EQ(b.FindFontHandle(L"tahoma", 18, false, false, false), nullptr);
    EXPECT_EQ(b.FindFontHandle(L"Tahoma", 18, false, true, false), nullptr);

    // Storing under an existing id replaces the entry.
    HFONT replaced = b.StoreFont(1, L"Courier New", 10, false, false, true, false);
    EXPECT_EQ(b.FontHandle(1), replaced);
    EXPECT_EQ(b.FontInfo(1)->italic, 1);
    b.DropAllFonts(false);
    EXPECT_EQ(b.FontHandle(1), shared);
}

TEST_F(ManagerResourcesTest, ReplacingTheDefaultFont) {
    CManagerUI a, b;
    HFONT stock = a.DefaultFont()->font;
    a.ReplaceDefaultFont(L"Tahoma", 20, true, true, false, false);
    EXPECT_NE(a.DefaultFont()->font, stock);
    EXPECT_EQ(a.DefaultFont()->face, L"Tahoma");
    EXPECT_EQ(a.DefaultFont()->underline, 1);
    EXPECT_EQ(b.DefaultFont()->font, stock);
    EXPECT_EQ(a.FontHandle(-1), a.DefaultFont()->font);

    // Metrics are measured once a paint DC exists.
    HDC dc = CreateCompatibleDC(nullptr);
    a.SetPaintDC(dc);
    EXPECT_GT(a.FontInfo(77)->metrics.tmHeight, 0);
    a.SetPaintDC(nullptr);
    DeleteDC(dc);
}

TEST_F(ManagerResourcesTest, ColourSettersWithShared) {
    CManagerUI changed, untouched;
    const uint32_t sharedBefore = CManagerUI::SharedResources().textColor;
    changed.ChangeDefaultTextColor(0xFF112233, false);
    EXPECT_EQ(changed.DefaultTextColor(), 0xFF112233u);
    EXPECT_EQ(CManagerUI::SharedResources().textColor, sharedBefore);

    changed.ChangeDefaultTextColor(0xFF445566, true);
    EXPECT_EQ(changed.DefaultTextColor(), 0xFF112233u) << "an own value that differs stays";
    EXPECT_EQ(CManagerUI::SharedResources().textColor, 0xFF445566u);
    EXPECT_EQ(untouched.DefaultTextColor(), sharedBefore) << "other managers keep their copies";

    untouched.ChangeDefaultLinkColor(0xFF000001, true);
    EXPECT_EQ(untouched.DefaultLinkColor(), 0xFF000001u) << "an own value equal to the shared one follows";
    CManagerUI later;
    EXPECT_EQ(later.DefaultTextColor(), 0xFF445566u) << "new managers copy the shared colours";
    EXPECT_EQ(later.DefaultLinkColor(), 0xFF000001u);

    later.ChangeDefaultTextColor(sharedBefore, true);
    later.ChangeDefaultLinkColor(SkinUI::kDefaultLinkColor, true);
    EXPECT_EQ(CManagerUI().DefaultDisabledColor(), SkinUI::kDefaultDisabledTextColor);
    EXPECT_EQ(CManagerUI().DefaultSelectedBackColor(), SkinUI::kDefaultSelectedBackColor);
}

TEST_F(ManagerResourcesTest, ImagesOwnBeforeShared) {
    const std::string zip = kelo_test::ZipBuilder()
                                .Add("png/a.png", kelo_test::PngOf(3, 1, {1, 2, 3, 255}))
                                .Add("png/b.png", kelo_test::PngOf(5, 1, {1, 2, 3, 255}))
                                .Build();
    SkinUI::SkinSources::UseSkinArchiveMemory(zip.data(), zip.size());
    CManagerUI a, b;
    ImageEntry* shared = a.LoadNamedImage(L"png/a.png", nullptr, 0, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(b.FindImage(L"png/a.png"), shared);
    EXPECT_EQ(b.FindImage(L"PNG/A.PNG"), nullptr) << "cached names compare exactly";
    ImageEntry* own = b.LoadNamedImage(L"png/a.png", nullptr, 0xFF010203, true, false);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(b.FindImage(L"png/a.png"), own);
    EXPECT_EQ(a.FindImage(L"png/a.png"), shared);
    EXPECT_TRUE(own->useHSL);
    EXPECT_EQ(own->mask, 0xFF010203u);
    ASSERT_NE(own->srcBits, nullptr) << "HSL images keep a copy of their pixels";
    EXPECT_EQ(std::memcmp(own->srcBits, own->bits, 12), 0);
    EXPECT_EQ(shared->srcBits, nullptr);

    ImageEntry* loaded = a.FindOrLoadImage(L"png/b.png", nullptr, 0, false);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->width, 5);
    EXPECT_EQ(a.OwnResources().images.Find(L"png/b.png"), loaded) << "loaded into the own set";
    EXPECT_EQ(b.FindImage(L"png/b.png"), nullptr);
    EXPECT_EQ(a.FindOrLoadImage(L"png/b.png", nullptr, 0, false), loaded);

    EXPECT_EQ(a.FindOrLoadImage(L"png/missing.png", nullptr, 0, false), nullptr);
    EXPECT_EQ(a.OwnResources().images.Find(L"png/missing.png"), nullptr) << "failures are not stored";
    EXPECT_EQ(a.LoadNamedImage(L"", nullptr, 0, false, false), nullptr);
    EXPECT_EQ(a.LoadNamedImage(L"logo", L"PNG", 0, false, false), nullptr) << "resource names are numeric";
    EXPECT_EQ(a.LoadNamedImage(L"102", L"PNG", 0, false, false), nullptr) << "no such resource";
}

TEST_F(ManagerResourcesTest, ResourceImagesByDecimalId) {
    CManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    CManagerUI m;
    // The test program carries an 8 x 8 image as PNG resource 101;
    // the id is read like atoi and cut to 16 bits (65637 & 0xFFFF is 101).
    for (const wchar_t* name : {L"101", L"101px", L"65637"}) {
        ImageEntry* image = m.LoadNamedImage(name, L"PNG", 0, false, false);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->width, 8);
        EXPECT_EQ(std::wstring(image->resType.Data()), L"PNG");
        EXPECT_EQ(m.FindImage(name), image) << "stored under the name as written";
    }
    CManagerUI::SetModuleInstance(nullptr);
}

TEST_F(ManagerResourcesTest, ClassDefaultsAndLanguageStrings) {
    CManagerUI a, b;
    a.SetClassDefaults(L"Button", L"textcolor=\"#FF000000\"", true);
    EXPECT_EQ(std::wstring(b.ClassDefaults(L"Button")), L"textcolor=\"#FF000000\"");
    b.SetClassDefaults(L"Button", L"font=\"1\"", false);
    b.SetClassDefaults(L"Button", L"font=\"2\"", false);
    EXPECT_EQ(std::wstring(b.ClassDefaults(L"Button")), L"font=\"2\"");
    EXPECT_EQ(std::wstring(a.ClassDefaults(L"Button")), L"textcolor=\"#FF000000\"");
    EXPECT_EQ(a.ClassDefaults(L"Label"), nullptr);
    EXPECT_EQ(a.ClassDefaults(L"button"), nullptr);

    CManagerUI::AddLanguageString(12, L"ab");
    CManagerUI::AddLanguageString(12, L"cd");
    EXPECT_EQ(std::wstring(CManagerUI::GetLanguageString(12)), L"cd");
    EXPECT_EQ(CManagerUI::GetLanguageString(13), nullptr);
    SkinUI::UiString text(L"%{12}-%{12}-%{13}");
    CManagerUI::ExpandLanguageTokens(text);
    EXPECT_EQ(std::wstring(text.Data()), L"cd-cd-%{13}");
}

}  // namespace
