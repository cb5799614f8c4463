// Loads "kelo-planted.dll" by name after setting up the DLL search the way
// the mode says: "dll-search-probe plain|restricted|fallback". Exits with 0
// when the DLL was loaded, 1 when it was not found, 2 on bad arguments.

#include <windows.h>

#include <string>

#include "app/dll_search.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::wstring mode = argv[1];
    if (mode == L"restricted") {
        if (kelo::RestrictDllSearch() != kelo::DllSearch::SystemOnly) return 3;
    } else if (mode == L"fallback") {
        // A system without SetDefaultDllDirectories.
        kelo::DllSearchApi api = kelo::SystemDllSearchApi();
        api.setDefaultDllDirectories = nullptr;
        if (kelo::RestrictDllSearchWith(api) != kelo::DllSearch::NoCurrentFolder) return 3;
    } else if (mode != L"plain") {
        return 2;
    }
    return LoadLibraryW(L"kelo-planted.dll") != nullptr ? 0 : 1;
}
