# Run by the install: copies the demo set's data files (the folder TAMO_DEMO_DATA) into the
# installed Data/ folder (TAMO_DATA_DESTINATION, below the prefix). A file already there that
# differs from the demo set's is kept: it may be the game's own, put there by the user.
file(GLOB demoFiles "${TAMO_DEMO_DATA}/*")
set(destination "${CMAKE_INSTALL_PREFIX}/${TAMO_DATA_DESTINATION}")
foreach(demoFile IN LISTS demoFiles)
    get_filename_component(name "${demoFile}" NAME)
    set(installed "$ENV{DESTDIR}${destination}/${name}")
    set(differs 0)
    if(EXISTS "${installed}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${demoFile}" "${installed}"
                        RESULT_VARIABLE differs OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(differs)
        message(STATUS "Keeping: ${installed} (not the demo set's)")
    else()
        file(INSTALL "${demoFile}" DESTINATION "${destination}")
    endif()
endforeach()
