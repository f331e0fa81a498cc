# The Turbo Vestrim panel's tests: the Vestrim panel's programs with known version details. They
# take the keyboard focus.
if(TARGET test_turbo_panel)
    add_dependencies(test_turbo_panel vestrim_fixture_alpha vestrim_fixture_beta vestrim_fixture_plain)
    target_compile_definitions(test_turbo_panel PRIVATE
        XPV_VESTRIM_FIXTURES=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_alpha>")
    set_tests_properties(${XPV_ARCH}.turbo_panel PROPERTIES RESOURCE_LOCK desktop)
endif()
