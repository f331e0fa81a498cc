# The built program itself, read as a file.
if(TARGET test_program_image)
    add_dependencies(test_program_image xpvestrim)
    target_compile_definitions(test_program_image PRIVATE
        XPV_PROGRAM_PATH=L"Z:$<TARGET_FILE:xpvestrim>")
endif()
