#include "net/debug_output.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <cstdio>
#include <cstdlib>
#endif

namespace kelo {

void DebugOutput(const char* line) {
#ifdef _WIN32
    // The lines are ASCII, so widening byte by byte is exact.
    std::wstring wide;
    for (const char* p = line; *p != '\0'; ++p)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    OutputDebugStringW(wide.c_str());
#else
    static const bool enabled = std::getenv("KELO_NET_DEBUG") != nullptr;
    if (enabled) std::fputs(line, stderr);
#endif
}

}  // namespace kelo
