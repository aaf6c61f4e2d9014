# The hardening that Debian's dpkg-buildflags gives every package: stack
# protector and stack clash protection, control-flow marking of our objects
# (the start files of Debian 12 have none, so the programs lose it), checked
# string and memory functions, read-only relocations bound at start, and
# position-independent executables.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection)
# _FORTIFY_SOURCE works only when optimising (glibc warns otherwise), and it
# hides calls from the sanitizers' own checks, so the sanitized builds go
# without it. TUNEFOLD_FORTIFY tells the install test whether to expect it.
set(TUNEFOLD_FORTIFY OFF)
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize" AND NOT TUNEFOLD_FUZZ)
  set(TUNEFOLD_FORTIFY ON)
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
