#pragma once

// The program runs elevated, usually from the user's Downloads folder, where
// any program of that user can leave a DLL. Loading a DLL by name must never
// look there, nor in the current directory.

#include <windows.h>

namespace kelo {

enum class DllSearch {
    SystemOnly,       // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
    NoCurrentFolder,  // SetDllDirectoryW(L""): systems without the call above
    Unchanged,        // neither call succeeded
};

// The calls behind RestrictDllSearch, so tests can take either one away.
struct DllSearchApi {
    BOOL(WINAPI* setDefaultDllDirectories)(DWORD flags);  // null where the system lacks it
    BOOL(WINAPI* setDllDirectoryW)(const wchar_t* folder);
};

// The running system's calls; SetDefaultDllDirectories is looked up in the
// already loaded kernel32, so nothing is loaded by name to find it.
DllSearchApi SystemDllSearchApi();

DllSearch RestrictDllSearchWith(const DllSearchApi& api);
// Call first thing in wWinMain, before anything may load a DLL by name.
DllSearch RestrictDllSearch();

}  // namespace kelo
