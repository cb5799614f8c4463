# Shared target settings and the helpers every folder uses.

set(KELO_TEST_RESULTS "${CMAKE_BINARY_DIR}/test-results" CACHE INTERNAL "")

# kelo_target_defaults(target): warnings and the Windows API settings.
function(kelo_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
endfunction()

# Windows executables carry no MinGW runtime DLLs: everything is linked in.
function(kelo_static_runtime target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# kelo_add_gtest(target SOURCES... [LIBS ...] [LABELS ...] [WRAPPER cmd...]):
# a GoogleTest executable registered as one CTest test. Each executable writes
# its own XML report, which scripts/test-summary reads to count the single
# cases; keeping a few executables keeps the number of Wine starts low. A
# WRAPPER command runs first and is handed the test's command line (for
# example to start a local service around it).
function(kelo_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;ENVIRONMENT;WRAPPER" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  kelo_target_defaults(${target})
  kelo_static_runtime(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} kelo::gtest_main)
  target_compile_definitions(${target} PRIVATE KELO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  # Under Wine a path from the root is relative to the current drive; the
  # Linux root is drive Z:.
  set(report "${KELO_TEST_RESULTS}/${target}.xml")
  if(WIN32)
    set(report "Z:${report}")
  endif()
  if(ARG_WRAPPER)
    add_test(NAME ${target}
             COMMAND ${ARG_WRAPPER} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${target}> --gtest_output=xml:${report})
  else()
    add_test(NAME ${target} COMMAND ${target} --gtest_output=xml:${report})
  endif()
  set_tests_properties(${target} PROPERTIES LABELS "gtest;${ARG_LABELS}" TIMEOUT 900)
  if(ARG_ENVIRONMENT)
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
