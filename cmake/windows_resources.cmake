# The version resource and the manifest in resources/quillmesh.rc take the version from project(),
# so that it is written in one place. Every target that compiles the .rc finds them here.
set(QUILLMESH_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillmesh_version.h.in
    ${QUILLMESH_GENERATED_RESOURCES}/quillmesh_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillmesh.manifest.in
    ${QUILLMESH_GENERATED_RESOURCES}/quillmesh.manifest @ONLY)
include_directories(${QUILLMESH_GENERATED_RESOURCES})

# Compiles resources/quillmesh.rc into the target. windres reports no dependencies, so the files
# that the .rc pulls in are named here, once.
function(quillmesh_add_resources target)
    set(rc ${CMAKE_SOURCE_DIR}/resources/quillmesh.rc)
    target_sources(${target} PRIVATE ${rc})
    set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS
        ${CMAKE_SOURCE_DIR}/resources/resource_ids.h
        ${CMAKE_SOURCE_DIR}/resources/quillmesh.ico
        ${CMAKE_SOURCE_DIR}/resources/mesh.bin
        ${CMAKE_SOURCE_DIR}/resources/texture.rgb
        ${QUILLMESH_GENERATED_RESOURCES}/quillmesh.manifest
        ${QUILLMESH_GENERATED_RESOURCES}/quillmesh_version.h)
endfunction()
