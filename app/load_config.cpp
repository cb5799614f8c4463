// The program's load configuration. Its one purpose is the dependent load
// flags: Windows 10 (1607) and later resolve the program's own imports from
// the system folder only, never from the folder the program was started
// from (usually Downloads, where anyone could leave a "crypt32.dll").
//
// The linker here does not fill in the PE load configuration directory, so
// the structure sits in its own section and tools/pe-load-config/set_load_config.py
// points the directory at it after linking.

#include <windows.h>

#include <cstddef>

namespace {

// Where Windows reads DependentLoadFlags.
static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, Reserved1) == (sizeof(void*) == 8 ? 0x4E : 0x36),
              "unexpected load configuration layout");

// Constant, so the structure is in the file as the loader reads it.
constexpr IMAGE_LOAD_CONFIG_DIRECTORY MakeLoadConfig() {
    IMAGE_LOAD_CONFIG_DIRECTORY config = {};
    config.Size = sizeof(config);
    // The field Windows calls DependentLoadFlags.
    config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return config;
}

}  // namespace

extern "C" __attribute__((section(".kelolc"), used)) const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used =
    MakeLoadConfig();
