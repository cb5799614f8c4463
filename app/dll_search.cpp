#include "app/dll_search.h"

namespace kelo {

DllSearchApi SystemDllSearchApi() {
    DllSearchApi api = {};
    // Windows 7 without KB2533623 lacks it.
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (kernel32 != nullptr) {
        api.setDefaultDllDirectories = reinterpret_cast<BOOL(WINAPI*)(DWORD)>(
            reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    }
    api.setDllDirectoryW = &SetDllDirectoryW;
    return api;
}

DllSearch RestrictDllSearchWith(const DllSearchApi& api) {
    if (api.setDefaultDllDirectories != nullptr && api.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return DllSearch::SystemOnly;
    // Still searches the program's folder, but no longer the current directory.
    if (api.setDllDirectoryW != nullptr && api.setDllDirectoryW(L"")) return DllSearch::NoCurrentFolder;
    return DllSearch::Unchanged;
}

DllSearch RestrictDllSearch() {
    return RestrictDllSearchWith(SystemDllSearchApi());
}

}  // namespace kelo
