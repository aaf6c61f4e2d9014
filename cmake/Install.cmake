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

# The desktop menu entry, its icons (named after the entry's Icon key) and the
# software centre's description, which names the version.
set(data ${PROJECT_SOURCE_DIR}/data)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${data}/${TUNEFOLD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${data}/${TUNEFOLD_APP_ID}.metainfo.xml
               ${PROJECT_BINARY_DIR}/data/${TUNEFOLD_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${TUNEFOLD_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/assets/icon16.png
        DESTINATION ${icons}/16x16/apps RENAME ${TUNEFOLD_APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/src/assets/icon.svg
        DESTINATION ${icons}/scalable/apps RENAME ${TUNEFOLD_APP_ID}.svg)
# Docks and software centres want bitmaps at these sizes; they are rendered
# from icon.svg at build time. Leak checks are off for the run: a sanitized
# build's tool should not fail the build over Qt's start-up allocations.
set(icon_files)
foreach(size 48 64 128 256)
  set(png ${PROJECT_BINARY_DIR}/icons/${size}/${TUNEFOLD_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:tunefold-artwork> ${PROJECT_SOURCE_DIR}/src/assets/icon.svg ${png} ${size}
    DEPENDS tunefold-artwork ${PROJECT_SOURCE_DIR}/src/assets/icon.svg
    VERBATIM)
  list(APPEND icon_files ${png})
  install(FILES ${png} DESTINATION ${icons}/${size}x${size}/apps)
endforeach()
add_custom_target(tunefold-icons ALL DEPENDS ${icon_files})

# Debian looks for the licence, the change log and the lintian overrides
# under the package name.
install(FILES ${data}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tunefold)
install(FILES ${data}/tunefold.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tunefold)

# Manual pages and the change log go out compressed with gzip -9n, as
# Debian's policy asks; man reads them either way. Each is first filled in
# with the version (configure_file), then compressed in a folder of its own.
find_program(TUNEFOLD_GZIP gzip REQUIRED)
set(man_pages)
foreach(page tunefold.1 tunefold-list.1 changelog.Debian)
  configure_file(${data}/${page} ${PROJECT_BINARY_DIR}/configured/${page} @ONLY)
  set(compressed ${PROJECT_BINARY_DIR}/compressed/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/configured/${page}
            ${PROJECT_BINARY_DIR}/compressed/${page}
    COMMAND ${TUNEFOLD_GZIP} -9nf ${PROJECT_BINARY_DIR}/compressed/${page}
    DEPENDS ${PROJECT_BINARY_DIR}/configured/${page}
    VERBATIM)
  list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(tunefold-man ALL DEPENDS ${man_pages})
list(POP_BACK man_pages changelog)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tunefold)

if(BUILD_TESTING)
  # Installs into a temporary prefix and checks the result; exit status 77
  # means a validator could not be installed. The Debian package is built and
  # checked only from a hardened, optimised build, the kind that is shipped.
  set(package_check)
  if(TUNEFOLD_FORTIFY)
    set(package_check --package)
  endif()
  add_test(NAME install
           COMMAND ${PROJECT_SOURCE_DIR}/tests/install/check-install ${PROJECT_BINARY_DIR}
                   ${package_check})
  set_tests_properties(install PROPERTIES SKIP_RETURN_CODE 77)
endif()

# cpack -G DEB in the build folder makes tunefold_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunefold)
set(CPACK_PACKAGE_VENDOR "Harrowfen Software")
set(CPACK_PACKAGE_CONTACT "Harrowfen Software <packages@harrowfen.example>")
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
# Debian revision 1 of the upstream version: the package is not native, so
# its change log is changelog.Debian.gz, whose first entry names this version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
file(STRINGS ${data}/changelog.Debian changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^tunefold \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "data/changelog.Debian must begin with an entry for "
                      "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://harrowfen.example/tunefold/)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Without it a Wayland session with no XWayland cannot show the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
