#include <windows.h>

#include "app/shipped_startup.h"
#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return kelo::RunStartup(instance, kelo::ShippedStartupHooks());
}
