// A DLL someone left beside the program or in its current directory. The
// elevated program must never load it by name.

#include <windows.h>

extern "C" __declspec(dllexport) int KeloPlanted() {
    return 42;
}
