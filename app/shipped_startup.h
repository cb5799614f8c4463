#pragma once

#include "app/startup.h"

namespace kelo {

// The start-up hooks of the shipped program: the UI framework's module
// instance, libcurl's global state and the real forms. wWinMain runs exactly
// these, and so do the tests of the start-up path.
StartupHooks ShippedStartupHooks();

}  // namespace kelo
