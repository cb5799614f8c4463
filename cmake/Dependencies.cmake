# Resolves the third-party libraries to the targets kelo::curl, kelo::jsoncpp,
# kelo::zlib, kelo::stb and (with tests) kelo::gtest / kelo::gtest_main.
# Native builds use Debian's packages; Windows builds use the static
# libraries that scripts/setup built into the cache.

add_library(kelo::stb INTERFACE IMPORTED)
# The folder holds only stb headers, so it is safe for the cross builds too.
set_target_properties(kelo::stb PROPERTIES INTERFACE_INCLUDE_DIRECTORIES /usr/include/stb)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KELO_ARCH win64)
  else()
    set(KELO_ARCH win32)
  endif()
  set(_prefixes "${KELO_DEPS}/${KELO_ARCH}/prefixes.cmake")
  if(NOT EXISTS "${_prefixes}")
    message(FATAL_ERROR "Windows libraries missing (${_prefixes}); run scripts/setup first")
  endif()
  include("${_prefixes}")

  find_path(KELO_CURL_INCLUDE curl/curl.h REQUIRED)
  find_library(KELO_CURL_LIB NAMES libcurl.a curl REQUIRED)
  add_library(kelo::curl STATIC IMPORTED)
  set_target_properties(kelo::curl PROPERTIES
    IMPORTED_LOCATION "${KELO_CURL_LIB}"
    INTERFACE_INCLUDE_DIRECTORIES "${KELO_CURL_INCLUDE}"
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;secur32;bcrypt;advapi32;normaliz")

  find_path(KELO_JSONCPP_INCLUDE json/json.h REQUIRED)
  find_library(KELO_JSONCPP_LIB NAMES libjsoncpp.a jsoncpp_static jsoncpp REQUIRED)
  add_library(kelo::jsoncpp STATIC IMPORTED)
  set_target_properties(kelo::jsoncpp PROPERTIES
    IMPORTED_LOCATION "${KELO_JSONCPP_LIB}"
    INTERFACE_INCLUDE_DIRECTORIES "${KELO_JSONCPP_INCLUDE}")

  find_path(KELO_ZLIB_INCLUDE zlib.h REQUIRED)
  find_library(KELO_ZLIB_LIB NAMES libz.a REQUIRED)
  add_library(kelo::zlib STATIC IMPORTED)
  set_target_properties(kelo::zlib PROPERTIES
    IMPORTED_LOCATION "${KELO_ZLIB_LIB}"
    INTERFACE_INCLUDE_DIRECTORIES "${KELO_ZLIB_INCLUDE}")

  if(KELO_BUILD_TESTS)
    find_path(KELO_GTEST_INCLUDE gtest/gtest.h REQUIRED)
    find_library(KELO_GTEST_LIB NAMES libgtest.a REQUIRED)
    find_library(KELO_GTEST_MAIN_LIB NAMES libgtest_main.a REQUIRED)
    add_library(kelo::gtest STATIC IMPORTED)
    set_target_properties(kelo::gtest PROPERTIES
      IMPORTED_LOCATION "${KELO_GTEST_LIB}"
      INTERFACE_INCLUDE_DIRECTORIES "${KELO_GTEST_INCLUDE}")
    add_library(kelo::gtest_main STATIC IMPORTED)
    set_target_properties(kelo::gtest_main PROPERTIES
      IMPORTED_LOCATION "${KELO_GTEST_MAIN_LIB}"
      INTERFACE_LINK_LIBRARIES kelo::gtest)
  endif()
else()
  find_package(CURL REQUIRED)
  find_package(jsoncpp CONFIG REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(Threads REQUIRED)
  add_library(kelo::curl INTERFACE IMPORTED)
  set_target_properties(kelo::curl PROPERTIES INTERFACE_LINK_LIBRARIES CURL::libcurl)
  add_library(kelo::jsoncpp INTERFACE IMPORTED)
  set_target_properties(kelo::jsoncpp PROPERTIES INTERFACE_LINK_LIBRARIES JsonCpp::JsonCpp)
  add_library(kelo::zlib INTERFACE IMPORTED)
  set_target_properties(kelo::zlib PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
  if(KELO_BUILD_TESTS)
    find_package(GTest REQUIRED)
    add_library(kelo::gtest INTERFACE IMPORTED)
    set_target_properties(kelo::gtest PROPERTIES INTERFACE_LINK_LIBRARIES "GTest::gtest;Threads::Threads")
    add_library(kelo::gtest_main INTERFACE IMPORTED)
    set_target_properties(kelo::gtest_main PROPERTIES INTERFACE_LINK_LIBRARIES "GTest::gtest_main;Threads::Threads")
  endif()
endif()
