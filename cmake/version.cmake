# orvane_version: the header orvane_version.h with the product's version, for
# the programs that show it.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version/orvane_version.h.in
  ${PROJECT_BINARY_DIR}/version/orvane_version.h @ONLY)
add_library(orvane_version INTERFACE)
target_include_directories(orvane_version INTERFACE ${PROJECT_BINARY_DIR}/version)
