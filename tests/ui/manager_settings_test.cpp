// CManagerUI process settings.
#include <gtest/gtest.h>

#include <string>

#include "tests/skin/zip_builder.h"
#include "ui/core/manager_ui.h"
#include "ui/skin/skin_sources.h"
#include "ui/skin/skin_xml.h"

namespace {

using SkinUI::CManagerUI;

TEST(ManagerSettings, SkinFolderPathEndings) {
    const struct {
        const wchar_t* in;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\skin", L"C:\\skin\\"}, {L"C:\\skin\\", L"C:\\skin\\"}, {L"C:/skin/", L"C:/skin/"}, {L"", L""}};
    for (const auto& c : cases) {
        CManagerUI::SetSkinFolderPath(c.in);
        EXPECT_EQ(std::wstring(CManagerUI::SkinFolderPath().Data()), c.stored);
    }
    SkinUI::SkinSources::Reset();
}

TEST(ManagerSettings, SkinArchiveMemoryTwiceKeepsTheFirst) {
    const std::string first = kelo_test::ZipBuilder().Add("form.xml", "<first/>").Build();
    const std::string second = kelo_test::ZipBuilder().Add("form.xml", "<second/>").Build();
    CManagerUI::UseSkinArchiveMemory(first.data(), first.size());
    CManagerUI::UseSkinArchiveMemory(second.data(), second.size());
    EXPECT_EQ(std::wstring(CManagerUI::SkinArchiveName().Data()), L"membuffer");
    EXPECT_TRUE(CManagerUI::IsSkinArchiveKeptOpen());
    ASSERT_NE(CManagerUI::OpenSkinArchive(), nullptr);
    SkinUI::CSkinXml doc;
    ASSERT_TRUE(doc.ParseFile(L"form.xml"));
    EXPECT_EQ(std::wstring(doc.RootNode().Name()), L"first");
    SkinUI::SkinSources::Reset();
}

TEST(ManagerSettings, ModuleAndResourceModule) {
    EXPECT_TRUE(CManagerUI::ModuleFolder().IsEmpty()) << "no instance yet";
    HINSTANCE self = GetModuleHandleW(nullptr);
    CManagerUI::SetModuleInstance(self);
    EXPECT_EQ(CManagerUI::ModuleInstance(), self);
    EXPECT_EQ(CManagerUI::ResourceModule(), self);
    EXPECT_EQ(SkinUI::SkinSources::ResourceModule(), self);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring expected(path);
    expected.resize(expected.rfind(L'\\') + 1);
    EXPECT_EQ(std::wstring(CManagerUI::ModuleFolder().Data()), expected);

    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    CManagerUI::SetResourceModule(kernel);
    EXPECT_EQ(CManagerUI::ResourceModule(), kernel);
    EXPECT_EQ(SkinUI::SkinSources::ResourceModule(), kernel);
    CManagerUI::SetResourceModule(nullptr);
    EXPECT_EQ(CManagerUI::ResourceModule(), self);
    CManagerUI::SetModuleInstance(nullptr);
}

TEST(ManagerSettings, ControlPlugins) {
    EXPECT_FALSE(CManagerUI::LoadControlPlugin(L"no-such-plugin.dll"));
    EXPECT_FALSE(CManagerUI::LoadControlPlugin(L"kernel32.dll")) << "no CreateControl export";
    EXPECT_EQ(CManagerUI::ControlPlugins().GetSize(), 0);
    const SkinUI::WindowHslSetting hsl = CManagerUI::WindowHsl();
    EXPECT_EQ(hsl.hue, 180);
    EXPECT_EQ(hsl.saturation, 100);
    EXPECT_EQ(hsl.lightness, 100);
    EXPECT_FALSE(hsl.enabled);
}

}  // namespace
