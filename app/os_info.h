#pragma once

#include <windows.h>

namespace kelo {

// What a GetVersionExW call answered; `ok` false when the call failed.
struct OsVersionAnswer {
    bool ok = false;
    DWORD major = 0;
    DWORD minor = 0;
};
using OsVersionQuery = OsVersionAnswer (*)();

OsVersionAnswer QueryOsVersion();
// Windows 7 (6.1) and later; a failed query is not supported.
bool IsSupportedVersion(const OsVersionAnswer& answer);
// The cached check with its query injected; tests reset the cache.
bool IsSupportedWindowsWith(OsVersionQuery query);
void ResetSupportedWindowsCache();

}  // namespace kelo
