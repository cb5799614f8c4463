#pragma once

#include <curl/curl.h>

#include <string>

namespace kelo {

// Sets the proxy options of one request from the resolver installed with
// HttpClient::SetProxyResolver; leaves the handle untouched without one.
// Every option is set on each request, so a handle that is kept between
// requests never carries one URL's proxy over to another.
CURLcode ApplyProxyFor(CURL* handle, const std::string& url);

}  // namespace kelo
