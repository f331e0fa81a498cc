# The built program itself, read as a file, and the other architecture's from the tree beside this
# one (tools/build.sh makes build/x86_64 and build/i686): a host that runs no 32-bit code then
# still checks the 32-bit program, from the 64-bit tests.
if(TARGET test_program_image)
    if(XPV_ARCH STREQUAL "i686")
        set(other_arch x86_64)
    else()
        set(other_arch i686)
    endif()
    get_filename_component(other_tree "${CMAKE_BINARY_DIR}/../${other_arch}" ABSOLUTE)
    set(XPV_OTHER_BUILD_DIR "${other_tree}" CACHE PATH
        "The other architecture's build tree, whose program the program image test reads too")
    get_target_property(program_dir xpvestrim RUNTIME_OUTPUT_DIRECTORY)
    if(NOT program_dir)
        get_target_property(program_dir xpvestrim BINARY_DIR)
    endif()
    file(RELATIVE_PATH program_subdir "${CMAKE_BINARY_DIR}" "${program_dir}")
    add_dependencies(test_program_image xpvestrim)
    target_compile_definitions(test_program_image PRIVATE
        XPV_PROGRAM_PATH=L"Z:$<TARGET_FILE:xpvestrim>"
        XPV_OTHER_PROGRAM_PATH=L"Z:${XPV_OTHER_BUILD_DIR}/${program_subdir}/$<TARGET_FILE_NAME:xpvestrim>")
endif()
