# Programs that carry a manifest of their own in the window: the manifest tests' fixtures beside
# the Vestrim panel's program without one. The test sets the machine's PreferExternalManifest for
# a moment (both architectures share the prefix) and takes the keyboard focus.
if(TARGET test_own_manifest_window)
    add_dependencies(test_own_manifest_window own_manifest_fixtures vestrim_fixture_plain)
    target_sources(test_own_manifest_window PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_own_manifest_window PRIVATE
        XPV_OWN_MANIFESTS=L"Z:${CMAKE_BINARY_DIR}/tests/manifest/own_manifest_fixtures"
        XPV_VESTRIM_FIXTURES=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_plain>")
    set_tests_properties(${XPV_ARCH}.own_manifest_window PROPERTIES RESOURCE_LOCK "registry;desktop")
endif()
