#include "app/shipped_startup.h"

#include <curl/curl.h>

#include "app/forms.h"
#include "app/system_proxy.h"
#include "net/http_client.h"
#include "ui/core/manager_ui.h"

namespace kelo {

namespace {

void InitHttp() {
    HttpClient::GlobalInit(CURL_GLOBAL_ALL);
    // Every request of the program, the install worker's included, follows
    // the user's proxy settings.
    HttpClient::SetProxyResolver(MakeSystemProxyResolver());
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
