# Tests that write Wine's registry take turns with each other (both architectures share a prefix).
foreach(registry_test settings_catalogue shipped_catalogue)
    set_tests_properties(${XPV_ARCH}.${registry_test} PROPERTIES RESOURCE_LOCK registry)
endforeach()

# The catalogue as the build places it beside the program.
add_dependencies(test_shipped_catalogue xpv_settings_catalogue)
target_compile_definitions(test_shipped_catalogue PRIVATE
    XPV_SHIPPED_CATALOGUE=L"Z:$<TARGET_FILE_DIR:xpvestrim>/settings.db")
