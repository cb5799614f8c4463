#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/forms.h"
#include "app/shipped_startup.h"
#include "app/system_services.h"
#include "ui/core/manager_ui.h"

namespace kelo {
namespace {

// Saves the compatibility key's state and puts it back afterwards, so the
// tests can remove or create it in the shared Wine prefix.
class CompatibilityKey : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        existed_ = RegOpenKeyExW(HKEY_CURRENT_USER, kCompatibilityKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (key != nullptr) RegCloseKey(key);
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        exePath_ = path;
    }
    void TearDown() override {
        if (!existed_) RegDeleteKeyW(HKEY_CURRENT_USER, kCompatibilityKey);
    }
    static bool KeyExists() {
        HKEY key = nullptr;
        const bool exists =
            RegOpenKeyExW(HKEY_CURRENT_USER, kCompatibilityKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (key != nullptr) RegCloseKey(key);
        return exists;
    }

    bool existed_ = false;
    std::wstring exePath_;
};

TEST_F(CompatibilityKey, MissingKeyIsNotCreated) {
    RegDeleteKeyW(HKEY_CURRENT_USER, kCompatibilityKey);
    ASSERT_FALSE(KeyExists());
    EXPECT_FALSE(MarkCompatibilityPersisted());
    EXPECT_FALSE(KeyExists());
}

TEST_F(CompatibilityKey, ValueIsNamedByTheProgramPathAndHoldsOne) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kCompatibilityKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueW(key, exePath_.c_str());
    EXPECT_TRUE(MarkCompatibilityPersisted());
    DWORD type = 0, data = 0, size = sizeof data;
    EXPECT_EQ(RegQueryValueExW(key, exePath_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data, 1u);
    EXPECT_NE(exePath_.find(L"app_tests.exe"), std::wstring::npos);  // the full path of the running file
    RegDeleteValueW(key, exePath_.c_str());
    RegCloseKey(key);
}

// What start-up did with its form and the network library.
struct Recorded {
    std::vector<std::string> calls;
    DWORD style = 0, exStyle = 0;
    int showCommand = -1;
    int httpInits = 0;
    HINSTANCE uiInstance = nullptr;
};
Recorded g_recorded;
OsVersionAnswer g_version;

class FakeForm : public IAppForm {
public:
    explicit FakeForm(const char* kind, bool skinLoads = true) : kind_(kind), skinLoads_(skinLoads) {}
    ~FakeForm() override { g_recorded.calls.push_back(kind_ + " destroyed"); }
    bool CreateFrame(DWORD style, DWORD exStyle) override {
        g_recorded.calls.push_back(kind_ + " create");
        g_recorded.style = style;
        g_recorded.exStyle = exStyle;
        return skinLoads_;
    }
    void CenterOnOwner() override { g_recorded.calls.push_back(kind_ + " center"); }
    void RunModalLoop(int showCommand) override {
        g_recorded.calls.push_back(kind_ + " modal");
        g_recorded.showCommand = showCommand;
    }

private:
    std::string kind_;
    bool skinLoads_;
};

StartupHooks RecordingHooks() {
    StartupHooks hooks;
    hooks.makeErrorForm = [] { return std::unique_ptr<IAppForm>(new FakeForm("error")); };
    hooks.makeInstallForm = [] { return std::unique_ptr<IAppForm>(new FakeForm("install")); };
    hooks.queryVersion = [] { return g_version; };
    hooks.initHttp = [] { ++g_recorded.httpInits; };
    hooks.setUiInstance = [](HINSTANCE instance) { g_recorded.uiInstance = instance; };
    return hooks;
}

TEST(Startup, VersionChoosesTheForm) {
    struct Case {
        OsVersionAnswer version;
        FormKind form;
    } cases[] = {
        {{true, 5, 1}, FormKind::Error},    // XP
        {{true, 6, 0}, FormKind::Error},    // Vista
        {{false, 10, 0}, FormKind::Error},  // the version query failed
        {{true, 6, 1}, FormKind::Install},  // 7
        {{true, 6, 3}, FormKind::Install},  // 8.1
        {{true, 10, 0}, FormKind::Install},
    };
    for (const Case& c : cases) {
        ResetSupportedWindowsCache();
        g_recorded = Recorded();
        g_version = c.version;
        FormKind chosen = FormKind::Error;
        EXPECT_EQ(RunStartup(GetModuleHandleW(nullptr), RecordingHooks(), &chosen), 0);
        EXPECT_EQ(chosen, c.form) << c.version.major << "." << c.version.minor;
        const std::string kind = c.form == FormKind::Install ? "install" : "error";
        EXPECT_EQ(g_recorded.calls, (std::vector<std::string>{kind + " create", kind + " center",
                                                              kind + " modal", kind + " destroyed"}));
        // The error path never initialises the network library.
        EXPECT_EQ(g_recorded.httpInits, c.form == FormKind::Install ? 1 : 0);
        EXPECT_EQ(g_recorded.style, 0x96C80000u);
        EXPECT_EQ(g_recorded.exStyle, 0x00060000u);
        EXPECT_EQ(g_recorded.showCommand, SW_SHOWNORMAL);
        EXPECT_EQ(g_recorded.uiInstance, GetModuleHandleW(nullptr));
    }
    ResetSupportedWindowsCache();
}

// Nothing to show is a failure of the program, not a quiet success.
TEST(Startup, FormThatCannotBeShownEndsWithExitCodeOne) {
    struct Case {
        const char* name;
        std::unique_ptr<IAppForm> (*make)();
        std::vector<std::string> calls;
    } cases[] = {
        {"no form", [] { return std::unique_ptr<IAppForm>(); }, {}},
        {"skin does not load",
         [] { return std::unique_ptr<IAppForm>(new FakeForm("install", false)); },
         {"install create", "install destroyed"}},
    };
    for (const Case& c : cases) {
        ResetSupportedWindowsCache();
        g_recorded = Recorded();
        g_version = {true, 10, 0};
        StartupHooks hooks = RecordingHooks();
        hooks.makeInstallForm = c.make;
        EXPECT_EQ(RunStartup(GetModuleHandleW(nullptr), hooks), 1) << c.name;
        EXPECT_EQ(g_recorded.calls, c.calls) << c.name;  // never centred, no modal loop
    }
    ResetSupportedWindowsCache();
}

// wWinMain runs RunStartup with exactly these hooks.
TEST(Startup, ShippedHooksDriveTheRealStartup) {
    const StartupHooks hooks = ShippedStartupHooks();
    EXPECT_EQ(hooks.setUiInstance, &SkinUI::CManagerUI::SetModuleInstance);
    EXPECT_EQ(hooks.makeInstallForm, &MakeInstallForm);
    EXPECT_EQ(hooks.makeErrorForm, &MakeErrorForm);
    EXPECT_EQ(hooks.queryVersion, &QueryOsVersion);
    ASSERT_NE(hooks.initHttp, nullptr);

    ResetSupportedWindowsCache();
    SkinUI::CManagerUI::SetModuleInstance(nullptr);
    const HINSTANCE self = GetModuleHandleW(nullptr);
    // This test program carries no skin archive in its resources, so the
    // install window cannot be shown: the program must say so by its exit code.
    EXPECT_EQ(RunStartup(self, hooks), 1);
    EXPECT_EQ(SkinUI::CManagerUI::ModuleInstance(), self);
    SkinUI::CManagerUI::SetModuleInstance(nullptr);
    ResetSupportedWindowsCache();
}

TEST(Startup, VersionAnswerIsCached) {
    ResetSupportedWindowsCache();
    g_version = {true, 6, 1};
    EXPECT_TRUE(IsSupportedWindowsWith([] { return g_version; }));
    g_version = {true, 6, 0};
    EXPECT_TRUE(IsSupportedWindowsWith([] { return g_version; }));
    ResetSupportedWindowsCache();
    EXPECT_FALSE(IsSupportedWindowsWith([] { return g_version; }));
    ResetSupportedWindowsCache();
    // Wine reports a supported version to the real query.
    EXPECT_TRUE(IsSupportedWindows());
    ResetSupportedWindowsCache();
}

}  // namespace
}  // namespace kelo
