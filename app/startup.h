#pragma once

#include <windows.h>

#include <memory>

#include "app/os_info.h"

namespace kelo {

// One of the two top-level windows as start-up drives it.
class IAppForm {
public:
    virtual ~IAppForm() = default;
    // Creates the window (the skin is loaded here); false when it could not be.
    virtual bool CreateFrame(DWORD style, DWORD exStyle) = 0;
    virtual void CenterOnOwner() = 0;
    // Shows the window and pumps messages until it is destroyed.
    virtual void RunModalLoop(int showCommand) = 0;
};

// Where start-up gets its windows and its version answer; tests replace them.
struct StartupHooks {
    std::unique_ptr<IAppForm> (*makeErrorForm)() = nullptr;
    std::unique_ptr<IAppForm> (*makeInstallForm)() = nullptr;
    OsVersionQuery queryVersion = &QueryOsVersion;
    void (*initHttp)() = nullptr;                // HttpClient::GlobalInit(CURL_GLOBAL_ALL)
    void (*setUiInstance)(HINSTANCE) = nullptr;  // the UI framework's module instance
};

enum class FormKind { Error, Install };

constexpr DWORD kFrameStyle = 0x96C80000;    // popup, visible, clip children/siblings, caption, system menu
constexpr DWORD kFrameExStyle = 0x00060000;  // app window, static edge

// Records the running program in the compatibility assistant's key under
// HKEY_CURRENT_USER (value named by the program's full path, DWORD 1). The key
// is never created. True when the write succeeded.
bool MarkCompatibilityPersisted();

// The whole start-up and shutdown sequence; returns the process exit code:
// 0 once the chosen form's modal loop has ended, 1 when that form could not be
// made or its window (and skin) could not be created.
// Reports which form it chose through `chosen` when that is not null.
int RunStartup(HINSTANCE instance, const StartupHooks& hooks, FormKind* chosen = nullptr);

}  // namespace kelo
