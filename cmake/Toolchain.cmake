# Compiler flags shared by every target.
#
# Floating point: no contraction into fused multiply-adds and no fast-math in any
# configuration, so that rendering and geometry give the same bits in Debug,
# Release and sanitizer builds (the pixel tests compare exact values).

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

add_compile_options(-ffp-contract=off -fno-fast-math -Wall -Wextra)
if(TV_WERROR)
  add_compile_options(-Werror)
endif()

if(TV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # GCC's flow analysis is unreliable under the sanitizers' instrumentation (false reports in
  # the standard library's own headers); the optimised builds keep the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

if(TV_TSAN)
  if(TV_SANITIZE)
    message(FATAL_ERROR "TV_TSAN and TV_SANITIZE cannot be combined")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(TV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TV_FUZZ needs clang (CXX=clang++)")
  endif()
  # The libraries are instrumented for coverage; each target links the fuzzer driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(TV_SOURCE_ROOT "${CMAKE_SOURCE_DIR}")
