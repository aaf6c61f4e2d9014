# Install rules and the Debian package.
#
# The program reads hand.cur and machine.reg from the folder of its own
# executable and starts tunefold-sysinfo from there, so everything that must
# stand beside it goes to PREFIX/lib/tunefold (a private program folder, not
# the multiarch library folder). PREFIX/bin holds relative links to the two
# programs a user starts: the program resolves /proc/self/exe, so a link finds
# the real folder, and the installed tree can be moved as a whole.
include(GNUInstallDirs)

set(TUNEFOLD_PROGRAM_DIR lib/tunefold)
set(TUNEFOLD_APP_ID org.harrowfen.Tunefold)

install(TARGETS tunefold tunefold-list tunefold-sysinfo
        RUNTIME DESTINATION ${TUNEFOLD_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/assets/hand.cur DESTINATION ${TUNEFOLD_PROGRAM_DIR})

# machine.reg names the installed tunefold-sysinfo by its absolute path. The
# prefix is known only when installing (cmake --install --prefix, or CPack's
# /usr), so the file is written then; DESTDIR only relocates where it is
# written, never the path it names.
set(machine_reg_code [[
  include("@PROJECT_SOURCE_DIR@/tools/sysinfo/MachineReg.cmake")
  set(tunefold_folder "${CMAKE_INSTALL_PREFIX}/@TUNEFOLD_PROGRAM_DIR@")
  tunefold_machine_reg_text(tunefold_text "${tunefold_folder}/tunefold-sysinfo")
  set(tunefold_file "$ENV{DESTDIR}${tunefold_folder}/machine.reg")
  message(STATUS "Installing: ${tunefold_file}")
  file(WRITE "${tunefold_file}" "${tunefold_text}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${tunefold_file}")
]])
string(CONFIGURE "${machine_reg_code}" machine_reg_code @ONLY)
install(CODE "${machine_reg_code}")

# The links are made in the build tree and installed as they are: install()
# copies a symbolic link as a link.
foreach(program tunefold tunefold-list)
  file(RELATIVE_PATH target "/${CMAKE_INSTALL_BINDIR}" "/${TUNEFOLD_PROGRAM_DIR}/${program}")
  set(link "${PROJECT_BINARY_DIR}/install-links/${program}")
  file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/install-links")
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
  install(FILES "${link}" DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The desktop menu entry, its icon (named after the entry's Icon key) and the
# software centre's description.
set(data ${PROJECT_SOURCE_DIR}/data)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${data}/${TUNEFOLD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/${TUNEFOLD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/assets/icon16.png
        DESTINATION ${icons}/16x16/apps RENAME ${TUNEFOLD_APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/src/assets/icon.svg
        DESTINATION ${icons}/scalable/apps RENAME ${TUNEFOLD_APP_ID}.svg)
# Debian looks for the licence under the package name.
install(FILES ${data}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tunefold)

# Manual pages go out compressed with gzip -9n, as Debian's policy asks; man
# reads them either way.
find_program(TUNEFOLD_GZIP gzip REQUIRED)
set(man_pages)
foreach(page tunefold.1 tunefold-list.1)
  set(compressed ${PROJECT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${data}/${page} ${PROJECT_BINARY_DIR}/man/${page}
    COMMAND ${TUNEFOLD_GZIP} -9nf ${PROJECT_BINARY_DIR}/man/${page}
    DEPENDS ${data}/${page}
    VERBATIM)
  list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(tunefold-man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(BUILD_TESTING)
  # Installs into a temporary prefix and checks the result; exit status 77
  # means a validator could not be installed.
  add_test(NAME install
           COMMAND ${PROJECT_SOURCE_DIR}/tests/install/check-install ${PROJECT_BINARY_DIR})
  set_tests_properties(install PROPERTIES SKIP_RETURN_CODE 77)
endif()

# cpack -G DEB in the build folder makes tunefold_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunefold)
set(CPACK_PACKAGE_VENDOR "Harrowfen Software")
set(CPACK_PACKAGE_CONTACT "Harrowfen Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list the MP3 files of a folder as an HTML page")
# Lines of the package's long description stay under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Tunefold writes the MP3 files of one folder as a list in an HTML page:
pick a drive and a folder, click the star and choose where to save. The
page shows each file's name and its size in megabytes.
The command tunefold-list writes the same page from scripts and on
machines without a display.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Harrowfen Software")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
