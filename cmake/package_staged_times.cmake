# Run by cpack once the files to package are staged (CPACK_PRE_BUILD_SCRIPTS): every staged file
# and folder takes the time SOURCE_DATE_EPOCH names, since the zip generator keeps file times as
# they are.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
    if(staged)
        execute_process(COMMAND touch --no-dereference --date=@$ENV{SOURCE_DATE_EPOCH} ${staged}
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endif()
