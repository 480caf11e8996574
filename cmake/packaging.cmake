# Installation of the programs and their files, and the Debian packages that
# "cpack -G DEB" makes of them:
#   liborvio1     liborvio.so.1 (component runtime)
#   liborvio-dev  header, liborvio.so, orvio.pc, CMake package, examples, reference (dev)
#   orvane-tools  orvadmin, orvctl, orvsim, desktop entry, icon, bash completion,
#                 manual pages, guide (tools)
# Every package carries the licence (copyright) and the changelog in its
# documentation folder. The packages are made from a tree configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package).

set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_staged ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_staged})

# The Debian names of the components, and where each keeps its documents.
set(_pkg_runtime liborvio1)
set(_pkg_dev liborvio-dev)
set(_pkg_tools orvane-tools)
set(ORVANE_PACKAGE_COMPONENTS runtime dev tools)

# --- the programs and their files --------------------------------------------
if(TARGET orvadmin)
  install(TARGETS orvadmin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
  install(FILES ${_packaging}/orvadmin.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT tools)
  install(FILES ${_packaging}/orvadmin.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT tools)
endif()

# Manual pages and changelogs are installed compressed, as Debian wants them:
# gzip -n keeps the archives the same from build to build.
find_program(ORVANE_GZIP gzip REQUIRED)
set(_compressed)
function(_orvane_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${ORVANE_GZIP} -9n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  set(_compressed ${_compressed} ${output} PARENT_SCOPE)
endfunction()

set(_man_pages orvadmin.1 orvctl.1 orvsim.1 orvio.3)
foreach(page IN LISTS _man_pages)
  _orvane_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${_staged}/${page}.gz)
endforeach()
_orvane_gzip(${_packaging}/changelog ${_staged}/changelog.gz)
add_custom_target(orvane_compressed_docs ALL DEPENDS ${_compressed})

if(TARGET orvadmin)
  install(FILES ${_staged}/orvadmin.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
endif()
install(FILES ${_staged}/orvsim.1.gz ${_staged}/orvctl.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
install(FILES ${_staged}/orvio.3.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT dev)

# The licence in the form Debian reads (copyright), from the one LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _licence)
string(FIND "${_licence}" "Permission is hereby granted" _grant)
string(SUBSTRING "${_licence}" ${_grant} -1 _licence)
string(STRIP "${_licence}" _licence)
string(REGEX REPLACE "\n\n" "\n.\n" _licence "${_licence}")
string(REGEX REPLACE "\n" "\n " ORVANE_LICENSE_TEXT " ${_licence}")
configure_file(${_packaging}/copyright.in ${_staged}/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

foreach(component IN LISTS ORVANE_PACKAGE_COMPONENTS)
  set(_doc ${CMAKE_INSTALL_DATADIR}/doc/${_pkg_${component}})
  install(FILES ${_staged}/copyright ${_staged}/changelog.gz DESTINATION ${_doc} COMPONENT ${component})
endforeach()

# The documents of the library and of the tools, with their examples.
set(_doc_dev ${CMAKE_INSTALL_DATADIR}/doc/${_pkg_dev})
install(FILES ${PROJECT_SOURCE_DIR}/docs/orvio.md DESTINATION ${_doc_dev} COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/c ${PROJECT_SOURCE_DIR}/examples/python
  DESTINATION ${_doc_dev}/examples COMPONENT dev
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

set(_doc_tools ${CMAKE_INSTALL_DATADIR}/doc/${_pkg_tools})
foreach(document orvadmin.md orvctl.md serial-ports.md network-files.md)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${document})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/${document} DESTINATION ${_doc_tools} COMPONENT tools)
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/images)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${_doc_tools} COMPONENT tools)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sim/networks
  DESTINATION ${_doc_tools}/examples COMPONENT tools)

# --- the Debian packages ------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orvane tools developers")
set(CPACK_PACKAGE_CONTACT "Orvane tools developers <orvane-tools@example.com>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${ORVANE_PACKAGE_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian wants directories 0755, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${_pkg_runtime})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# The shlibs file lets the packages of other programs depend on the library;
# the trigger has dpkg refresh the loader's cache once per run instead of a
# call per package. (CPack still adds its own ldconfig calls to postinst and
# postrm, which is harmless.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${_packaging}/liborvio1/triggers)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
"driver library for Orvane remote I/O modules
liborvio drives Orvane remote I/O modules (analog and digital I/O, counters,
frequency inputs, protocol converters) on an RS-485/RS-422 serial line: an
application opens a COM port and calls one function per module operation.
.
This package contains the shared library.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${_pkg_dev})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${_pkg_runtime} (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DEV_DESCRIPTION
"driver library for Orvane remote I/O modules - development files
liborvio drives Orvane remote I/O modules (analog and digital I/O, counters,
frequency inputs, protocol converters) on an RS-485/RS-422 serial line.
.
This package contains the header orvio.h, the pkg-config file and the CMake
package for building programs with liborvio, the library reference and
example programs in C and Python.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${_pkg_tools})
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION electronics)
# The Qt platform plugins are loaded at run time, so no library dependency
# names them; without them orvadmin cannot open a window. orvctl needs the
# liborvio1 of its own release or a later one, as the shlibs file of
# liborvio1 tells other packages.
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "qt6-qpa-plugins, ${_pkg_runtime} (>= ${PROJECT_VERSION})")
# orvctl links liborvio.so.1 of this very build: dpkg-shlibdeps finds it
# where it was built, and the dependency on liborvio1 is the one above.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/driver)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
"administration utility and simulator for Orvane remote I/O modules
orvadmin is the desktop utility with which installers find, configure, test
and calibrate Orvane remote I/O modules on an RS-485/RS-422 serial line
through a COM port or a USB-serial adapter: network search, configuration
dialogs, live diagnostics, a multi-module monitor, calibration, and a
terminal with batch files.
.
orvctl does the same from the command line, for scripts and headless
gateways: scan the line, read inputs, write outputs, configure a module,
watch it, send raw commands, with text, JSON or CSV output.
.
orvsim simulates a network of modules on a pseudo-terminal, so that the tools
and programs using liborvio can be tried without hardware.")

include(CPack)
