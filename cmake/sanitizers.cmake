if(ORVANE_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${_san})
  add_link_options(${_san})
  # This build is for finding faults, not for speed: -Og with line tables
  # compiles in about a third of the time of -O2 -g (the instrumented Qt and
  # GoogleTest code is most of the work) and still gives traces with file and
  # line. Given after the build type's flags, these win over them.
  add_compile_options(-Og -g1)
  message(STATUS "Sanitizers: address, undefined")
endif()

option(ORVANE_TSAN "Build with ThreadSanitizer (not together with ORVANE_SANITIZE)" OFF)
if(ORVANE_TSAN)
  if(ORVANE_SANITIZE)
    message(FATAL_ERROR "ORVANE_TSAN and ORVANE_SANITIZE cannot be combined")
  endif()
  set(_tsan -fsanitize=thread -fno-omit-frame-pointer)
  add_compile_options(${_tsan})
  add_link_options(${_tsan})
  message(STATUS "Sanitizers: thread")
endif()
