# The Debian package: `cpack -G DEB` in the native build makes quillmesh_<version>_amd64.deb of
# what `cmake --install` puts under /usr, with its dependencies computed from the binary.

include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillmesh RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmesh)
set(CPACK_PACKAGE_VENDOR "Quillmesh developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turning, breathing tube drawn with OpenGL: a screen saver")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quillmesh shows one textured tube that turns about two axes while a sine wave"
    "swells and narrows it along its length, drawn as lines, points, textured"
    "triangles or lines and points. It runs in a window, full screen with the"
    "closing rules of a screen saver, or as an XScreenSaver hack, and renders"
    "pictures headless.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillmesh developers")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# It runs on its own; XScreenSaver is one way of running it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_QUILLMESH_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package_times.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_staged_times.cmake)
include(CPack)
