#include "app/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/app_config.h"

namespace kelo {

namespace {

// The application module: the instance handle and the main thread's id.
struct AppModule {
    HINSTANCE instance = nullptr;
    DWORD mainThreadId = 0;

    void Init(HINSTANCE moduleInstance) {
        instance = moduleInstance;
        mainThreadId = GetCurrentThreadId();
    }
    void Term() {
        instance = nullptr;
        mainThreadId = 0;
    }
};

AppModule g_module;

class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

bool MarkCompatibilityPersisted() {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kCompatibilityKey, 0, KEY_READ | KEY_WRITE, key.Receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const DWORD one = 1;
    return RegSetValueExW(key.Get(), path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one) ==
           ERROR_SUCCESS;
}

int RunStartup(HINSTANCE instance, const StartupHooks& hooks, FormKind* chosen) {
    CoInitialize(nullptr);
    DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    g_module.Init(instance);

    MarkCompatibilityPersisted();
    if (hooks.setUiInstance != nullptr) hooks.setUiInstance(instance);

    std::unique_ptr<IAppForm> form;
    if (!IsSupportedWindowsWith(hooks.queryVersion)) {
        if (chosen != nullptr) *chosen = FormKind::Error;
        if (hooks.makeErrorForm != nullptr) form = hooks.makeErrorForm();
    } else {
        if (chosen != nullptr) *chosen = FormKind::Install;
        if (hooks.initHttp != nullptr) hooks.initHttp();
        if (hooks.makeInstallForm != nullptr) form = hooks.makeInstallForm();
    }

    // A form that cannot be made or whose skin does not load leaves nothing
    // to show: the program ends with exit code 1 rather than a silent 0.
    int exitCode = 1;
    if (form && form->CreateFrame(kFrameStyle, kFrameExStyle)) {
        form->CenterOnOwner();
        form->RunModalLoop(SW_SHOWNORMAL);
        exitCode = 0;
    }

    g_module.Term();
    CoUninitialize();
    form.reset();
    return exitCode;
}

}  // namespace kelo
