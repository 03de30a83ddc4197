# The version resource and the manifest in resources/quillmesh.rc take the version from project(),
# so that it is written in one place. Every target that compiles the .rc finds them here.
set(QUILLMESH_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillmesh_version.h.in
    ${QUILLMESH_GENERATED_RESOURCES}/quillmesh_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillmesh.manifest.in
    ${QUILLMESH_GENERATED_RESOURCES}/quillmesh.manifest @ONLY)
include_directories(${QUILLMESH_GENERATED_RESOURCES})
