# The Settings panel's tests write Wine's registry (below a key of their own) and click the group
# list, which takes the keyboard focus: they take turns with the other tests of either kind.
if(TARGET test_settings_panel)
    set_tests_properties(${XPV_ARCH}.settings_panel PROPERTIES RESOURCE_LOCK "registry;desktop")
    # The catalogue as the build places it beside the program.
    add_dependencies(test_settings_panel xpv_settings_catalogue)
    target_compile_definitions(test_settings_panel PRIVATE
        XPV_SHIPPED_CATALOGUE=L"Z:$<TARGET_FILE_DIR:xpvestrim>/settings.db")
endif()
