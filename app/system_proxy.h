#pragma once

#include <memory>

#include "net/proxy_rules.h"

namespace kelo {

// The current user's Windows proxy settings (Internet Options): automatic
// detection (WPAD) or a configuration script, resolved per URL by WinHTTP,
// else the fixed proxy with its bypass list, else a direct connection. The
// settings are read again for every request, so a change applies from the
// next request on; script answers are kept per host while the settings stay
// the same, since detection can take seconds.
std::shared_ptr<ProxyResolver> MakeSystemProxyResolver();

}  // namespace kelo
