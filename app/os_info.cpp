#include "app/os_info.h"

#include "app/system_services.h"

namespace kelo {

namespace {

// Written once on the main thread before any other thread exists.
bool g_versionChecked = false;
bool g_versionSupported = false;

}  // namespace

OsVersionAnswer QueryOsVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
    OsVersionAnswer answer;
    answer.ok = ok != FALSE;
    // A failed call leaves the zeroed structure, which fails the test too.
    answer.major = info.dwMajorVersion;
    answer.minor = info.dwMinorVersion;
    return answer;
}

bool IsSupportedVersion(const OsVersionAnswer& answer) {
    if (!answer.ok) return false;
    return answer.major > 6 || (answer.major == 6 && answer.minor >= 1);
}

bool IsSupportedWindowsWith(OsVersionQuery query) {
    if (g_versionChecked) return g_versionSupported;
    g_versionSupported = IsSupportedVersion(query());
    g_versionChecked = true;
    return g_versionSupported;
}

void ResetSupportedWindowsCache() {
    g_versionChecked = false;
    g_versionSupported = false;
}

bool IsSupportedWindows() {
    return IsSupportedWindowsWith(&QueryOsVersion);
}

bool IsWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (kernel == nullptr) return false;
    auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    if (isWow64Process == nullptr) return false;
    BOOL wow64 = FALSE;
    if (!isWow64Process(GetCurrentProcess(), &wow64)) return false;
    return wow64 != FALSE;
}

}  // namespace kelo
