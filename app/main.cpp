#include <windows.h>

#include <curl/curl.h>

#include "app/process_hardening.h"
#include "app/startup.h"
#include "net/http_client.h"

namespace {

void InitHttp() {
    kelo::HttpClient::GlobalInit(CURL_GLOBAL_ALL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    kelo::HardenProcess();
    kelo::StartupHooks hooks;
    hooks.initHttp = &InitHttp;
    return kelo::RunStartup(instance, hooks);
}
