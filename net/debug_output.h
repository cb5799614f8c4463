#pragma once

namespace kelo {

// One fixed diagnostic line for the debugger (OutputDebugStringW on Windows).
// Natively the line goes to stderr only when KELO_NET_DEBUG is set, so tests
// stay quiet.
void DebugOutput(const char* line);

}  // namespace kelo
