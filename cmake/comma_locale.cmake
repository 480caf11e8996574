# A decimal-comma locale (de_DE.UTF-8) generated into the build tree, so the
# tests can run the products the way a German or French desktop does without
# any locale installed on the machine. Tests link orvane_comma_locale and call
# orvane::test::CommaLocale (tests/common/comma_locale.h).
set(ORVANE_TEST_LOCPATH ${CMAKE_BINARY_DIR}/locale)
if(NOT EXISTS ${ORVANE_TEST_LOCPATH}/de_DE.UTF-8/LC_NUMERIC)
  find_program(ORVANE_LOCALEDEF localedef REQUIRED)
  file(MAKE_DIRECTORY ${ORVANE_TEST_LOCPATH})
  execute_process(
    COMMAND ${ORVANE_LOCALEDEF} -i de_DE -f UTF-8 ${ORVANE_TEST_LOCPATH}/de_DE.UTF-8
    RESULT_VARIABLE _localedef_status
    ERROR_VARIABLE _localedef_errors)
  if(NOT _localedef_status EQUAL 0)
    message(FATAL_ERROR "localedef could not make the test locale de_DE.UTF-8 "
                        "(Debian package locales): ${_localedef_errors}")
  endif()
endif()

add_library(orvane_comma_locale INTERFACE)
target_link_libraries(orvane_comma_locale INTERFACE orvane_test_common)
target_compile_definitions(orvane_comma_locale INTERFACE
  ORVANE_TEST_LOCPATH="${ORVANE_TEST_LOCPATH}")
