# Fuzzing with libFuzzer needs clang: every target is then built with the
# fuzzer's coverage instrumentation and the sanitizers, so that the harnesses
# of tests/fuzz are guided through our code and stop at the first fault.
if(ORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORVANE_FUZZ needs clang: CC=clang-14 CXX=clang++-14 (scripts/fuzz)")
  endif()
  set(_fuzz_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
                -fno-omit-frame-pointer)
  add_compile_options(-fsanitize=fuzzer-no-link ${_fuzz_san})
  add_link_options(${_fuzz_san})
  message(STATUS "Fuzzing: libFuzzer, address, undefined")
endif()
