# Programs that carry a manifest of their own, built for the manifest tests.
set(own_manifest_dir ${CMAKE_BINARY_DIR}/tests/manifest/own_manifest_fixtures)
foreach(test_name theming_effect external_manifest_decision own_manifest_tooltip)
    add_dependencies(test_${test_name} own_manifest_fixtures)
    target_compile_definitions(test_${test_name} PRIVATE XPV_OWN_MANIFESTS=L"Z:${own_manifest_dir}")
endforeach()

# It sets the machine's PreferExternalManifest for a moment (both architectures share a prefix).
set_tests_properties(${XPV_ARCH}.external_manifest_decision PROPERTIES RESOURCE_LOCK registry)

# The action's tests theme the Vestrim panel's programs, whose version details are known.
add_dependencies(test_theming_action vestrim_fixture_alpha vestrim_fixture_plain)
target_compile_definitions(test_theming_action PRIVATE XPV_BATCH_PROGRAMS=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_alpha>")
