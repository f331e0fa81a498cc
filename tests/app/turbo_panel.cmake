# The Turbo Vestrim panel's tests: the Vestrim panel's programs with known version details, the
# batch search's tree of symbolic links, and the program's resources (its version resource among
# them, which a test reads from a copy of the test program). They take the keyboard focus and
# share the Wine drive of this architecture's tests.
if(TARGET test_turbo_panel)
    add_dependencies(test_turbo_panel batch_link_tree vestrim_fixture_alpha vestrim_fixture_beta vestrim_fixture_plain)
    target_sources(test_turbo_panel PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_turbo_panel PRIVATE
        XPV_VESTRIM_FIXTURES=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_alpha>"
        XPV_BATCH_LINK_TREE=L"Z:${CMAKE_BINARY_DIR}/tests/batch/link_tree")
    set_tests_properties(${XPV_ARCH}.turbo_panel PROPERTIES RESOURCE_LOCK desktop)
endif()
