# What a Linux desktop expects of an installed program (a menu entry and an
# icon of its own for each program, AppStream data, the package's papers),
# and the Debian package that holds everything installed:
#   cmake --build build --target package      ->  build/zarn_VERSION_ARCH.deb

# Where the project's tree is published: the AppStream data names the
# screenshots of data/screenshots/ there, and the project's home page.
set(ZARN_WEB_URL "https://zarn.example/" CACHE STRING "Web address of the project's tree, ending in /")
set(ZARN_MAINTAINER "The Zarn developers <maintainers@zarn.example>" CACHE STRING
  "Maintainer of the Debian package")

set(ZARN_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(ZARN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zarn)
foreach(program zarn brel)
  # The desktop entry, the AppStream data and the icons all carry the
  # program's component id.
  set(id org.zarnworks.${program})
  install(FILES data/desktop/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(data/desktop/${id}.metainfo.xml ${id}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/icons/${program}.svg DESTINATION ${ZARN_ICON_DIR}/scalable/apps RENAME ${id}.svg)
  # The PNGs of every size that scripts/make-icons draws (PROGRAM-SIZE.png).
  file(GLOB pictures ${CMAKE_SOURCE_DIR}/data/icons/${program}-*.png)
  foreach(picture ${pictures})
    string(REGEX REPLACE ".*-([0-9]+)\\.png$" "\\1" size ${picture})
    install(FILES ${picture} DESTINATION ${ZARN_ICON_DIR}/${size}x${size}/apps RENAME ${id}.png)
  endforeach()
endforeach()

# The package's papers, where Debian keeps them (the change log compressed
# without a time stamp, so that the same tree makes the same package).
set(ZARN_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${ZARN_CHANGELOG}
  COMMAND gzip -9n < ${CMAKE_SOURCE_DIR}/data/package/changelog > ${ZARN_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/package/changelog
  COMMENT "Compressing the change log")
add_custom_target(package-papers ALL DEPENDS ${ZARN_CHANGELOG})
install(FILES data/package/copyright ${ZARN_CHANGELOG} DESTINATION ${ZARN_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZARN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZARN_WEB_URL})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link (SDL2, the C and C++ run-times), as
# dpkg-shlibdeps finds them; the node builder and the engines that test play
# runs, and a free IWAD to edit, are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "freedoom, zdbsp, chocolate-doom")
# The engines of the game ports a DOOM level may be made for.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "game-data-packager, crispy-doom, woof-doom")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map editors for HERETIC and DOOM WAD files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zarn (HERETIC) and Brel (DOOM, DOOM II, Freedoom) edit the levels of WAD
files: Things, LineDefs, SideDefs, Vertexes and Sectors, drawn and edited
with the mouse and the keyboard in a window, with a 3D view, builders for
doors, stairs and lifts, and a checker for the faults that crash the game.
A text-mode shell lists, dumps, builds and takes apart WAD files.

The launchers build nodes with zdbsp and test levels in Chocolate Doom and
Chocolate Heretic. Started from the menu, each program works in its folder
of the user's data directory.")
include(CPack)
