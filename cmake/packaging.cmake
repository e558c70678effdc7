# Installing flawseek (and flawseek-gui, which installs itself when built) with
# its man page and bash completion, and the Debian package CPack makes of it.
include(GNUInstallDirs)

install(TARGETS flawseek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man page comes from the program's --help and --version through
# help2man when it is installed; otherwise the committed copy (which a test
# keeps in step) is installed.
find_program(FLAWSEEK_HELP2MAN help2man)
if(FLAWSEEK_HELP2MAN)
  set(flawseek_man_page ${CMAKE_BINARY_DIR}/flawseek.1)
  add_custom_command(OUTPUT ${flawseek_man_page}
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/man-page.sh $<TARGET_FILE:flawseek> ${flawseek_man_page}
    DEPENDS flawseek ${CMAKE_SOURCE_DIR}/scripts/man-page.sh ${CMAKE_SOURCE_DIR}/data/flawseek.h2m
    COMMENT "Generating the flawseek man page")
  add_custom_target(flawseek_man_page ALL DEPENDS ${flawseek_man_page})
else()
  set(flawseek_man_page ${CMAKE_SOURCE_DIR}/data/flawseek.1)
endif()
# Debian installs man pages compressed (gzip -9n: no name or time inside,
# so the package builds the same each time).
function(flawseek_gzipped_man_page source name)
  set(gzipped ${CMAKE_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND gzip -9n -c ${source} > ${gzipped}
    DEPENDS ${source}
    COMMENT "Compressing the ${name} man page")
  add_custom_target(${name}_gz ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
flawseek_gzipped_man_page(${flawseek_man_page} flawseek.1)
if(TARGET flawseek-gui)
  flawseek_gzipped_man_page(${CMAKE_SOURCE_DIR}/data/flawseek-gui.1 flawseek-gui.1)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/flawseek)
# A native package's changelog, compressed as Debian keeps it.
configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(flawseek_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/flawseek)
install(FILES ${CMAKE_SOURCE_DIR}/data/flawseek.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME flawseek)

# cpack -G DEB in the build directory makes flawseek_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME flawseek)
set(CPACK_PACKAGE_VENDOR "The Flawseek developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian wants the description's lines no longer than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Flawseek finds potential bugs (null-pointer dereferences, unreachable code,\nunused units and declarations, and more) and style violations in Ada 95,\n2005, 2012 and 2022 sources, from the command line (flawseek) or a window\n(flawseek-gui).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Flawseek developers <developers@flawseek.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The shared libraries the programs link (libstdc++, and Qt for the window)
# become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
# The editors' set-ups for the language server and the VS Code task, where
# Debian keeps a package's examples: copied into an editor's configuration
# by whoever wants them, never read from here.
install(FILES ${CMAKE_SOURCE_DIR}/data/lsp/flawseek-nvim.lua ${CMAKE_SOURCE_DIR}/data/lsp/flawseek-eglot.el
              ${CMAKE_SOURCE_DIR}/data/lsp/vscode-settings.json ${CMAKE_SOURCE_DIR}/data/vscode-tasks.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/flawseek/examples)
