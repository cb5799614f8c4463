#pragma once

#include <memory>

#include "app/startup.h"

namespace kelo {

// The two top-level windows start-up can show. Null when the form cannot be
// made; start-up then ends the program with exit code 1.
std::unique_ptr<IAppForm> MakeInstallForm();
std::unique_ptr<IAppForm> MakeErrorForm();

}  // namespace kelo
