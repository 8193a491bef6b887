set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

option(DRAVIK_BUILD_TESTS "Build the tests" ON)
option(DRAVIK_BUILD_BENCH "Build the benchmarks" ON)
option(DRAVIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(DRAVIK_SANITIZE_THREAD "Build with ThreadSanitizer (for the copy's reader thread)" OFF)

add_compile_options(-Wall -Wextra -Werror)
# GCC 12 at -O3 takes some std::string concatenations and assignments for
# overlapping copies (its bugs 105329 and 105651), so a Release build of the
# command would fail on that false warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<CONFIG:Release>:-Wno-restrict>)
endif()
if(DRAVIK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # Every test executable of this build runs through a small launcher that
  # tells a crash of the leak checker's own tracer from a finding.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/sanitizer-run)
endif()
if(DRAVIK_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The executable and everything it needs beside it land in one folder, so the
# folder can be copied together with the control files and run elsewhere.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
