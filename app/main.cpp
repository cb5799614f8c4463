#include <windows.h>

#include <curl/curl.h>

#include "app/startup.h"
#include "app/system_proxy.h"
#include "net/http_client.h"

namespace {

void InitHttp() {
    kelo::HttpClient::GlobalInit(CURL_GLOBAL_ALL);
    // Every request of the program, the install worker's included, follows
    // the user's proxy settings.
    kelo::HttpClient::SetProxyResolver(kelo::MakeSystemProxyResolver());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    kelo::StartupHooks hooks;
    hooks.initHttp = &InitHttp;
    return kelo::RunStartup(instance, hooks);
}
