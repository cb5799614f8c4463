#include "app/install_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/install_settings.h"

namespace kelo {
namespace {

// --- settings of an earlier installation ---------------------------------

struct Registry {
    // A value absent from the map cannot be read.
    std::map<InstallValue, std::wstring> values;
    std::vector<std::wstring> folders;
    std::vector<InstallValue> reads;

    InstallSettingsSource Source() {
        return {[this](InstallValue v, std::wstring& out) {
                    reads.push_back(v);
                    const auto found = values.find(v);
                    if (found == values.end()) return false;
                    out = found->second;
                    return true;
                },
                [this](const std::wstring& dir) {
                    return std::find(folders.begin(), folders.end(), dir) != folders.end();
                }};
    }
};

TEST(LoadInstallSettings, EarlierInstallationCases) {
    using V = InstallValue;
    const std::wstring dir = L"D:\\Kelo\\";
    const std::wstring dirNoSlash = L"D:\\Kelo";
    struct Case {
        const char* what;
        std::map<InstallValue, std::wstring> values;
        std::vector<std::wstring> folders;
        bool shortcut, autorun;
        std::wstring installDir;
    } cases[] = {
        {"fresh system", {}, {}, true, false, L""},
        {"empty display name: the rest is ignored",
         {{V::DisplayName, L""}, {V::RunAtStartup, L"x"}, {V::InstallDir, dir}},
         {dir},
         true,
         false,
         L""},
        {"folder exists, both options",
         {{V::DisplayName, L"KeloVoice"},
          {V::RunAtStartup, L"\"c.exe\""},
          {V::CreateShortcut, L"1"},
          {V::InstallDir, dir}},
         {dir},
         true,
         true,
         dir},
        {"stored without a trailing backslash: shown as stored",
         {{V::DisplayName, L"KeloVoice"}, {V::InstallDir, dirNoSlash}},
         {dirNoSlash},
         false,
         false,
         dirNoSlash},
        {"folder gone: the default folder, options still from the registry",
         {{V::DisplayName, L"KeloVoice"}, {V::CreateShortcut, L"1"}, {V::InstallDir, dir}},
         {},
         true,
         false,
         L""},
        {"empty values count as not chosen",
         {{V::DisplayName, L"KeloVoice"},
          {V::RunAtStartup, L""},
          {V::CreateShortcut, L""},
          {V::InstallDir, dir}},
         {dir},
         false,
         false,
         dir},
        {"a stored \"0\" is non-empty, so chosen",
         {{V::DisplayName, L"KeloVoice"}, {V::CreateShortcut, L"0"}},
         {},
         true,
         false,
         L""},
    };
    for (const Case& c : cases) {
        Registry registry{c.values, c.folders, {}};
        const InstallSettings s = LoadInstallSettingsFrom(registry.Source());
        EXPECT_EQ(s.shortcut, c.shortcut) << c.what;
        EXPECT_EQ(s.autorun, c.autorun) << c.what;
        EXPECT_EQ(s.installDir, c.installDir) << c.what;
    }
}

TEST(LoadInstallSettings, WithoutDisplayNameNothingElseIsRead) {
    Registry registry{{{InstallValue::InstallDir, L"D:\\Kelo\\"}}, {L"D:\\Kelo\\"}, {}};
    LoadInstallSettingsFrom(registry.Source());
    EXPECT_EQ(registry.reads, std::vector<InstallValue>{InstallValue::DisplayName});
}

TEST(InstallFolder, DefaultAndPickedFolders) {
    EXPECT_EQ(DefaultInstallDir(L"C:\\Program Files (x86)"),
              L"C:\\Program Files (x86)\\Brightfen\\KeloVoice\\");
    const std::pair<std::wstring, std::wstring> picks[] = {
        {L"D:\\", L"D:\\Brightfen\\KeloVoice\\"},
        {L"D:\\Apps", L"D:\\Apps\\Brightfen\\KeloVoice\\"},
        {L"D:\\Apps\\", L"D:\\Apps\\Brightfen\\KeloVoice\\"},
        {L"D:\\Brightfen\\KeloVoice", L"D:\\Brightfen\\KeloVoice\\Brightfen\\KeloVoice\\"},
        {L"", L"Brightfen\\KeloVoice\\"},
        {L"\\\\server\\share", L"\\\\server\\share\\Brightfen\\KeloVoice\\"},
    };
    for (const auto& [picked, expected] : picks)
        EXPECT_EQ(InstallDirForPickedFolder(picked), expected) << picked.size();
}

// --- clicks, stages and the percent label ---------------------------------

TEST(InstallPage, ClicksMapToActionsByExactName) {
    const std::pair<const wchar_t*, ClickAction> table[] = {
        {L"minsize", ClickAction::Minimize},
        {L"close", ClickAction::Close},
        {L"download_cancel", ClickAction::Close},
        {L"chose_path", ClickAction::BrowseFolder},
        {L"install", ClickAction::StartInstall},
        {L"download_retry", ClickAction::Retry},
        {L"step_up", ClickAction::UseNow},
        {L"btn_agreement", ClickAction::OpenAgreement},
        {L"btn_official_website", ClickAction::OpenWebsite},
        {L"custom_install", ClickAction::ShowCustom},
        {L"default_install", ClickAction::ShowDefault},
        {L"agreement", ClickAction::AgreementToggled},
        // Options toggle themselves; labels and unknown names do nothing.
        {L"shortcut", ClickAction::None},
        {L"autorun", ClickAction::None},
        {L"Install", ClickAction::None},
        {L"closebtn", ClickAction::None},
        {L"", ClickAction::None},
    };
    for (const auto& [name, action] : table) EXPECT_EQ(ActionForClick(name), action) << name;
}

TEST(InstallPage, AgreementStateAfterTheToggleCounts) {
    EXPECT_FALSE(InstallEnabledAfterAgreementClick(true));  // was checked: now unchecked
    EXPECT_TRUE(InstallEnabledAfterAgreementClick(false));
}

TEST(InstallPage, StageVisibilityTable) {
    struct Row {
        int stage;
        StageView v;
    } rows[] = {
        {0, {true, false, false, true, false, false}},
        {1, {false, true, false, false, false, false}},
        {2, {false, true, false, false, false, true}},
        {3, {false, false, true, false, true, false}},
    };
    for (const Row& r : rows) {
        StageView v;
        v.downloadTip = v.installTip = v.errorTip = v.cancel = v.retry = v.useNow = true;
        ASSERT_TRUE(StageViewFor(r.stage, v));
        EXPECT_EQ(v.downloadTip, r.v.downloadTip) << r.stage;
        EXPECT_EQ(v.installTip, r.v.installTip) << r.stage;
        EXPECT_EQ(v.errorTip, r.v.errorTip) << r.stage;
        EXPECT_EQ(v.cancel, r.v.cancel) << r.stage;
        EXPECT_EQ(v.retry, r.v.retry) << r.stage;
        EXPECT_EQ(v.useNow, r.v.useNow) << r.stage;
    }
    StageView untouched;
    untouched.retry = true;
    EXPECT_FALSE(StageViewFor(4, untouched));
    EXPECT_FALSE(StageViewFor(-1, untouched));
    EXPECT_TRUE(untouched.retry);
}

TEST(InstallPage, PercentLabelFollowsTheFill) {
    const std::pair<int, const wchar_t*> table[] = {
        {0, L"0,296,0,0"},    {1, L"0,296,0,0"},    {4, L"0,296,0,0"},     {5, L"3,296,0,0"},
        {50, L"318,296,0,0"}, {68, L"444,296,0,0"}, {100, L"668,296,0,0"},
    };
    for (const auto& [percent, padding] : table) EXPECT_EQ(ProgressLabelPadding(percent), padding) << percent;
    EXPECT_EQ(ProgressLabelText(37), L"37%");
    EXPECT_EQ(ProgressLabelText(100), L"100%");
}

}  // namespace
}  // namespace kelo
