# Read by cpack before each package (CPACK_PROJECT_CONFIG_FILE): the file times in the archives
# are the commit's, so that two builds of one commit give the same bytes. SOURCE_DATE_EPOCH, when
# set, wins; the Debian generator reads it itself, the zip takes it from the staged files' times
# (cmake/package_staged_times.cmake).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_QUILLMESH_SOURCE_DIR}" log -1 --format=%ct
        OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_failed ERROR_QUIET)
    if(NOT git_failed AND commit_time)
        set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    endif()
endif()
