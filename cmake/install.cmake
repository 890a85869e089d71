# What `cmake --install` puts on the system, and the Debian package `cpack -G DEB` makes of it:
# the tezlo program in bin and its manual page tezlo(1), compressed as Debian installs manual
# pages. Nothing else is installed: the libraries are static, linked into the program, and the
# tests and benchmarks stay in the build tree.
include(GNUInstallDirs)

install(TARGETS tezlo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(TEZLO_MAN_PAGE ${PROJECT_BINARY_DIR}/docs/tezlo.1.gz)
add_custom_command(
  OUTPUT ${TEZLO_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/docs/tezlo.1 -DOUTPUT=${TEZLO_MAN_PAGE}
          -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/tezlo.1 ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
  COMMENT "Writing the manual page tezlo(1)")
add_custom_target(tezlo_man_page DEPENDS ${TEZLO_MAN_PAGE})
# Building the program builds its page, so that a tree that built only `tezlo` installs whole.
add_dependencies(tezlo tezlo_man_page)
install(FILES ${TEZLO_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(TEZLO_PACKAGE_MAINTAINER "Tezlo maintainers <maintainers@users.noreply.c-seed-83da8d2b.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tezlo)
set(CPACK_PACKAGE_VENDOR Tezlo)
set(CPACK_PACKAGE_CONTACT "${TEZLO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard workbench for spreadsheets kept in topic blocks")
# The long description, one line of the Description field per line here.
set(CPACK_PACKAGE_DESCRIPTION "\
Tezlo edits xlsx workbooks laid out in column blocks of topic blocks,
one short function code at a time: rows inserted and deleted inside one
column block, topic words reached by their number in a topic index,
swaps, sorts, identity-card numbers, two-column comparisons, listings.
The tezlo program is a terminal workbench with a command box for the
codes; tezlo run is a batch runner that runs codes on a workbook file
and saves it.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Depends field: the packages of the shared libraries the program links, found by
# dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
