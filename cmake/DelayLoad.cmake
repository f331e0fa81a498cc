# Import libraries that load a system library at the first call into it rather than when the
# program starts. The window shows before it needs the shell or COM, and under Wine loading them
# (with the libraries they pull in) is a large part of the start.
#
# xpv_delay_load_library(<name>) makes the library target xpv_delay_<name> from the toolchain's
# own import library lib<name>.a, at configure time: it names every function that one names, so a
# call added later is delay-loaded too. The helper the calls go through, __delayLoadHelper2, is in
# MinGW-w64's libmingwex, which every program links.
#
# The 32-bit build imports these libraries plainly. Its functions carry their argument size
# ("CoInitializeEx@8"), and the 32-bit linker rewrites import members with such names as if they
# were plain imports: the delay stubs are dropped and their import slots stay 0, so the first
# call would jump to address 0.
function(xpv_delay_load_library name)
    if(XPV_ARCH STREQUAL "i686")
        add_library(xpv_delay_${name} INTERFACE IMPORTED GLOBAL)
        set_target_properties(xpv_delay_${name} PROPERTIES INTERFACE_LINK_LIBRARIES ${name})
        return()
    endif()
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
                    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${import_library}" OR NOT EXISTS "${import_library}")
        message(FATAL_ERROR "the toolchain has no import library lib${name}.a")
    endif()
    execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_library}
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${CMAKE_NM} could not read ${import_library}")
    endif()
    # Functions only, which have a code stub ("T"): data cannot be delay-loaded, and a use of it
    # takes the plain import library.
    string(REGEX MATCHALL "[ \t]T [^\r\n]+" stubs "${symbols}")
    list(TRANSFORM stubs REPLACE "^[ \t]T " "    ")
    if(NOT stubs)
        message(FATAL_ERROR "${import_library} names no functions")
    endif()
    list(JOIN stubs "\n" exports)

    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    set(definitions ${folder}/${name}.def)
    set(library ${folder}/lib${name}_delay.a)
    set(content "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
    if(EXISTS ${definitions} AND EXISTS ${library})
        file(READ ${definitions} previous)
    else()
        set(previous)
    endif()
    # Made again only when the toolchain's list changed: a new library would relink everything.
    if(NOT previous STREQUAL content)
        file(WRITE ${definitions} "${content}")
        execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${definitions} -y ${library} -D ${name}.dll
                        RESULT_VARIABLE failed ERROR_VARIABLE errors)
        if(failed OR NOT EXISTS ${library})
            file(REMOVE ${definitions})
            message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make ${library}: ${errors}")
        endif()
    endif()
    add_library(xpv_delay_${name} STATIC IMPORTED GLOBAL)
    set_target_properties(xpv_delay_${name} PROPERTIES IMPORTED_LOCATION ${library})
endfunction()
