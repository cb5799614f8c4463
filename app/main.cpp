#include <windows.h>

#include "app/process_hardening.h"
#include "app/shipped_startup.h"
#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    kelo::HardenProcess();
    return kelo::RunStartup(instance, kelo::ShippedStartupHooks());
}
