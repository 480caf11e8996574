# The hardening Debian builds its own packages with: checked buffer functions
# (optimised builds only: glibc needs -O for them), a stack protector, and a
# relocation table bound at start and then read-only. The sanitizer and fuzz
# builds bring their own checks instead.
if(NOT ORVANE_SANITIZE AND NOT ORVANE_TSAN AND NOT ORVANE_FUZZ)
  add_compile_options(-fstack-protector-strong
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
