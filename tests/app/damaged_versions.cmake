# The window on a folder of programs whose version resources are damaged: the version tests'
# fixtures, copied by the test under program names.
if(TARGET test_damaged_versions)
    add_dependencies(test_damaged_versions version_fixtures_patched)
    target_sources(test_damaged_versions PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_damaged_versions PRIVATE
        DAMAGED_VERSION_FIXTURES=L"Z:$<TARGET_FILE_DIR:version_fixture_patch_base>")
    # Opening the window may take the focus from a test that needs it.
    set_tests_properties(${XPV_ARCH}.damaged_versions PROPERTIES RESOURCE_LOCK desktop)
endif()
