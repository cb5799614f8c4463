#include "app/shipped_startup.h"

#include <curl/curl.h>

#include "app/forms.h"
#include "net/http_client.h"
#include "ui/core/manager_ui.h"

namespace kelo {

namespace {

void InitHttp() {
    HttpClient::GlobalInit(CURL_GLOBAL_ALL);
}

}  // namespace

StartupHooks ShippedStartupHooks() {
    StartupHooks hooks;
    hooks.setUiInstance = &SkinUI::CManagerUI::SetModuleInstance;
    hooks.initHttp = &InitHttp;
    hooks.makeInstallForm = &MakeInstallForm;
    hooks.makeErrorForm = &MakeErrorForm;
    return hooks;
}

}  // namespace kelo
