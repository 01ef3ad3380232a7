# What each layer may include, checked at configure time over a folder's sources: the
# configure fails when one of them breaks its layer's rule.

# Fails when a source of the folder has an include whose opening matches pattern (the
# part after "#include ").
function(tamo_forbid_includes folder pattern rule)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${folder}/*.h" "${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" found REGEX "^[ \t]*#[ \t]*include[ \t]*${pattern}")
        if(found)
            message(FATAL_ERROR "${source} includes ${found}; ${folder} ${rule}")
        endif()
    endforeach()
endfunction()

# core/ and view/ are plain C++: they must build without Qt or any other library, and the
# targets themselves link nothing but each other.
function(tamo_require_standard_library_only target folder)
    tamo_forbid_includes(${folder} "[<\"](Q[A-Za-z]|qt)" "may use the C++ standard library only")
    get_target_property(linked ${target} LINK_LIBRARIES)
    if(linked)
        foreach(library IN LISTS linked)
            if(library MATCHES "Qt")
                message(FATAL_ERROR "${target} links ${library}; it may use the C++ standard library only")
            endif()
        endforeach()
    endif()
endfunction()

# The layers below the windows (the data core, the view, the file helpers, the shared Qt
# pieces, the document and the stage session) never include a file of forms/.
function(tamo_require_no_window_includes folder)
    tamo_forbid_includes(${folder} "\"forms/" "lies below the windows")
endfunction()
