#include "ui/skin/skin_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/controls_fixtures.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/control_factory.h"
#include "ui/controls/vertical_layout_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace {

using testing_support::SkinFolder;
using testing_support::WindowedManager;

// The installer's main skin as far as the builder sees it.
const wchar_t kMainSkin[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    L"<Window size=\"718,463\" caption=\"0,0,0,50\" roundcorner=\"3,3\" mininfo=\"718,463\" maxinfo "
    L"=\"718,463\" "
    L"layerd=\"true\">"
    L"<Font id=\"1\" name=\"Arial\" size=\"18\" default=\"true\" />"
    L"<Font id=\"2\" name=\"Arial\" size=\"12\" />"
    L"<Font id=\"3\" name=\"Arial\" size=\"14\" bold=\"TRUE\" />"
    L"<Font id=\"4\" name=\"Arial\" size=\"abc\" />"
    L"<Font id=\"5\" name=\"Arial\" />"
    L"<Font id=\"6\" name=\"Arial\" size=\"16\" underline=\"true\" />"
    L"<Container bkcolor=\"#FFFFFFFF\">"
    L"<Label name=\"title_name\" float=\"true\" pos=\"9,9,200,40\" />"
    L"<Button name=\"close\" float=\"true\" pos=\"680,10,700,30\" />"
    L"</Container>"
    L"</Window>";

TEST(SkinBuilder, MainSkinWindowSettingsFontsAndTree) {
    WindowedManager wm;
    ASSERT_NE(wm.window(), nullptr);
    CManagerUI& m = wm.manager();
    CSkinBuilder builder;
    CControlUI* root = builder.Create(kMainSkin, nullptr, nullptr, &m, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->ClassName(), L"ContainerUI");
    auto* container = static_cast<CContainerUI*>(root->InterfaceFor(L"Container"));
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->ItemCount(), 2);
    EXPECT_STREQ(container->ItemAt(0)->ClassName(), L"LabelUI");
    EXPECT_STREQ(container->ItemAt(1)->ClassName(), L"ButtonUI");
    EXPECT_EQ(root->Manager(), nullptr);  // built detached

    EXPECT_EQ(m.StartSize().cx, 718);
    EXPECT_EQ(m.StartSize().cy, 463);
    EXPECT_EQ(m.CornerEllipse().cx, 3);
    EXPECT_EQ(m.CaptionArea().bottom, 50);
    EXPECT_EQ(m.MinTrackSize().cx, 718);
    EXPECT_EQ(m.MaxTrackSize().cy, 463);  // "maxinfo =" with a blank is read
    EXPECT_TRUE(m.UsesPerPixelAlpha());
    for (int id = 1; id <= 6; ++id)
        EXPECT_NE(m.OwnResources().fonts.Find(std::to_wstring(id).c_str()), nullptr);
    EXPECT_EQ(m.FontInfo(1)->size, 18);
    EXPECT_EQ(m.DefaultFont()->size, 18);
    EXPECT_TRUE(m.FontInfo(3)->bold);  // "TRUE" in any case
    EXPECT_EQ(m.FontInfo(4)->size, 0);
    EXPECT_EQ(m.FontInfo(5)->size, 12);

    ASSERT_TRUE(m.AttachRoot(root, nullptr));
    EXPECT_EQ(m.FindControl(L"title_name"), container->ItemAt(0));
    RECT item = m.FindControl(L"title_name")->ItemRect();
    root->Place({0, 0, 718, 463}, false);
    item = m.FindControl(L"title_name")->ItemRect();
    EXPECT_EQ(item.left, 9);
    EXPECT_EQ(item.bottom, 40);
}

TEST(SkinBuilder, WindowAttributesNeedAWindow) {
    CManagerUI m;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(kMainSkin, nullptr, nullptr, &m, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(m.StartSize().cx, 0);
    EXPECT_NE(m.FontInfo(1), nullptr);  // declarations still go to the manager
    delete root;
}

TEST(SkinBuilder, ElementNamesIgnoreCaseAndDefaultsApplyByNameAsWritten) {
    CManagerUI m;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Default name=\"Button\" value=\"text=&quot;x&quot; width=&quot;7&quot;\" />"
        L"<Default name=\"button\" value=\"height=&quot;9&quot;\" />"
        L"<VERTICALLAYOUT><button name=\"lower\" /><Button name=\"own\" text=\"mine\" /><Button "
        L"name=\"plain\" />"
        L"</VERTICALLAYOUT></Window>",
        nullptr, nullptr, &m, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->ClassName(), L"VerticalLayoutUI");
    auto* layout = static_cast<CContainerUI*>(root->InterfaceFor(L"Container"));
    ASSERT_EQ(layout->ItemCount(), 3);
    CControlUI* lower = layout->ItemAt(0);
    EXPECT_STREQ(lower->ClassName(), L"ButtonUI");
    EXPECT_EQ(lower->DeclaredHeight(), 9);  // the defaults of "button" as written
    EXPECT_EQ(lower->GetText(), L"");
    EXPECT_EQ(layout->ItemAt(1)->GetText(), L"mine");  // own attributes override the defaults
    EXPECT_EQ(layout->ItemAt(2)->GetText(), L"x");
    EXPECT_EQ(layout->ItemAt(2)->DeclaredWidth(), 7);
    delete root;
}

TEST(SkinBuilder, UnknownElementsAreSkippedWithTheirChildren) {
    CSkinBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Gadget><Control name=\"inside\" /></Gadget><Control name=\"after\" />"
        L"<Image name=\"ignored-here\" /></Container></Window>",
        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(root, nullptr);
    auto* container = static_cast<CContainerUI*>(root->InterfaceFor(L"Container"));
    ASSERT_EQ(container->ItemCount(), 1);
    EXPECT_EQ(container->ItemAt(0)->GetName(), L"after");
    delete root;
}

TEST(SkinBuilder, CallbackAndParentsWithoutContainer) {
    struct Callback : IDialogBuilderCallback {
        CControlUI* CreateCustomControl(const UiChar* name) override {
            asked += name;
            asked += L";";
            return UiStrEq(name, L"Gadget") ? new CContainerUI : nullptr;
        }
        std::wstring asked;
    } callback;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Gadget><Thing /><Control name=\"kept\" /></Gadget></Window>",
                                      nullptr, &callback, nullptr, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(callback.asked, L"Gadget;Thing;");
    EXPECT_EQ(static_cast<CContainerUI*>(root->InterfaceFor(L"Container"))->ItemCount(), 1);
    delete root;

    // A plain control cannot hold children: the level ends with nothing.
    CSkinBuilder second;
    root = second.Create(L"<Window><Control><Control /><Control /></Control></Window>", nullptr, nullptr,
                         nullptr, nullptr);
    ASSERT_NE(root, nullptr);
    delete root;
}

TEST(SkinBuilder, EveryTableNameMakesItsClass) {
    struct Case {
        const wchar_t* element;
        const wchar_t* className;
        const wchar_t* interfaceName;
    } cases[] = {
        {L"Control", L"ControlUI", L"Control"},
        {L"Container", L"ContainerUI", L"IContainer"},
        {L"VerticalLayout", L"VerticalLayoutUI", L"VerticalLayout"},
        {L"HorizontalLayout", L"HorizontalLayoutUI", L"HorizontalLayout"},
        {L"ChildLayout", L"ChildLayoutUI", L"ChildLayout"},
        {L"TileLayout", L"TileLayoutUI", L"TileLayout"},
        {L"TabLayout", L"TabLayoutUI", L"TabLayout"},
        {L"Label", L"LabelUI", L"Label"},
        {L"Text", L"TextUI", L"Text"},
        {L"Button", L"ButtonUI", L"Button"},
        {L"Option", L"OptionUI", L"Option"},
        {L"CheckBox", L"CheckBoxUI", L"CheckBox"},
        {L"Progress", L"ProgressUI", L"Progress"},
        {L"Slider", L"SliderUI", L"Slider"},
        {L"Edit", L"EditUI", L"Edit"},
        {L"RichEdit", L"RichEditUI", L"RichEdit"},
        {L"Combo", L"ComboUI", L"IListOwner"},
        {L"List", L"ListUI", L"IList"},
        {L"ListHeader", L"ListHeaderUI", L"ListHeader"},
        {L"ListHeaderItem", L"ListHeaderItemUI", L"ListHeaderItem"},
        {L"ListTextElement", L"ListTextElementUI", L"ListTextElement"},
        {L"ListLabelElement", L"ListLabelElementUI", L"ListItem"},
        {L"ListContainerElement", L"ListContainerElementUI", L"ListContainerElement"},
        {L"ScrollBar", L"ScrollBarUI", L"ScrollBar"},
        {L"TreeView", L"TreeViewUI", L"TreeView"},
        {L"DateTime", L"DateTimeUI", L"DateTime"},
        {L"WebBrowser", L"WebBrowserUI", L"WebBrowser"},
        {L"ActiveX", L"ActiveXUI", L"ActiveX"},
        {L"Gif", L"GifAnimUI", L"Gif"},
        {L"MPng", L"MpngAnimUI", L"MPng"},
        {L"PopUp", L"PopUpUI", L"PopUp"},
        {L"ButtonX", L"UIButtonX", L"Button"},
        {L"optionx", L"UIOptionX", L"Option"},
    };
    for (const Case& c : cases) {
        CControlUI* control = CreateControlForElement(c.element);
        ASSERT_NE(control, nullptr) << c.element;
        EXPECT_STREQ(control->ClassName(), c.className);
        EXPECT_NE(control->InterfaceFor(c.interfaceName), nullptr) << c.element;
        delete control;
    }
    EXPECT_EQ(CreateControlForElement(L"Window"), nullptr);
    EXPECT_EQ(CreateControlForElement(L"Buttons"), nullptr);
}

TEST(SkinBuilder, IncludeCountBuildsTheDocumentIntoTheSameParent) {
    CManagerUI::SetSkinFolderPath(SkinFolder("basic").c_str());
    CManagerUI m;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(L"include_three.xml", nullptr, nullptr, &m, nullptr);
    CManagerUI::SetSkinFolderPath(L"");
    ASSERT_NE(root, nullptr);
    auto* list = static_cast<CContainerUI*>(root->InterfaceFor(L"Container"));
    ASSERT_EQ(list->ItemCount(), 5);
    EXPECT_EQ(list->ItemAt(0)->GetName(), L"head");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(list->ItemAt(i)->GetName(), L"row");
    EXPECT_EQ(list->ItemAt(4)->GetName(), L"tail");
    delete root;
}

TEST(SkinBuilder, ColoursImagesAndFailures) {
    CManagerUI::SetSkinFolderPath(SkinFolder("basic").c_str());
    CManagerUI m;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Image name=\"png/box.png\" shared=\"true\" /><Image name=\"png/missing.png\" />"
        L"<Container><Control name=\"hash\" bkcolor=\"#FF102030\" /><Control name=\"hex\" "
        L"bkcolor=\"0xFF102030\" />"
        L"</Container><Control name=\"second\" /></Window>",
        nullptr, nullptr, &m, nullptr);
    CManagerUI::SetSkinFolderPath(L"");
    ASSERT_NE(root, nullptr);
    auto* container = static_cast<CContainerUI*>(root->InterfaceFor(L"Container"));
    EXPECT_EQ(container->ItemAt(0)->BackColor(), container->ItemAt(1)->BackColor());
    EXPECT_EQ(container->ItemAt(0)->BackColor(), 0xFF102030u);
    EXPECT_NE(CManagerUI::SharedResources().images.Find(L"png/box.png"), nullptr);
    EXPECT_EQ(m.OwnResources().images.Find(L"png/box.png"), nullptr);
    EXPECT_EQ(m.FindImage(L"png/missing.png"), nullptr);
    delete root;
    CManagerUI::SharedResources().DropImages();

    CSkinBuilder empty;
    EXPECT_EQ(empty.Create(L"<Window><Font id=\"1\" name=\"Arial\" /></Window>", nullptr, nullptr, nullptr,
                           nullptr),
              nullptr);
    CSkinBuilder broken;
    EXPECT_EQ(broken.Create(L"<Window><Control></Window>", nullptr, nullptr, nullptr, nullptr), nullptr);
    CSkinBuilder missing;
    EXPECT_EQ(missing.Create(L"no-such-skin.xml", nullptr, nullptr, nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace SkinUI
