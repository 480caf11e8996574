# Warnings for every target of ours; errors when CI is set in the environment.
add_library(orvane_warnings INTERFACE)
target_compile_options(orvane_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "" AND NOT "$ENV{CI}" STREQUAL "false")
  target_compile_options(orvane_warnings INTERFACE -Werror)
  message(STATUS "CI build: warnings are errors")
endif()
