# The release archive: `cpack` in the Windows build directory makes quillmesh-<version>-win64.zip
# with the saver, the preview host, the README and the licence.

# The .rc brings the manifest; the MSVC linker would otherwise make a second one.
if(MSVC)
    target_link_options(quillmesh PRIVATE /MANIFEST:NO)
endif()

install(TARGETS quillmesh RUNTIME DESTINATION .)
if(TARGET scrprev)
    install(TARGETS scrprev RUNTIME DESTINATION .)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quillmesh)
set(CPACK_PACKAGE_VENDOR "Quillmesh developers")
set(CPACK_PACKAGE_FILE_NAME quillmesh-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_QUILLMESH_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package_times.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_staged_times.cmake)
include(CPack)
