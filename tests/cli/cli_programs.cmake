# The console program's tests start the built program as a process, on copies of the Vestrim
# panel's programs with known version details.
foreach(test_name cli_theming cli_usage cli_tweak cli_console cli_image cli_own_manifest)
    if(TARGET test_${test_name})
        add_dependencies(test_${test_name} xpvestrim-cli xpv_settings_catalogue
            vestrim_fixture_alpha vestrim_fixture_beta vestrim_fixture_plain)
        target_compile_definitions(test_${test_name} PRIVATE
            XPV_CLI_PROGRAM=L"Z:$<TARGET_FILE:xpvestrim-cli>"
            XPV_CLI_FIXTURES=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_alpha>"
            XPV_SHIPPED_CATALOGUE=L"Z:$<TARGET_FILE_DIR:xpvestrim>/settings.db")
    endif()
endforeach()
# The tweak test writes Wine's registry, which both architectures share.
if(TEST ${XPV_ARCH}.cli_tweak)
    set_tests_properties(${XPV_ARCH}.cli_tweak PROPERTIES RESOURCE_LOCK registry)
endif()
# Programs that carry a manifest of their own, from the manifest tests; the test sets the machine's
# PreferExternalManifest for a moment.
if(TARGET test_cli_own_manifest)
    add_dependencies(test_cli_own_manifest own_manifest_fixtures)
    target_compile_definitions(test_cli_own_manifest PRIVATE
        XPV_OWN_MANIFESTS=L"Z:${CMAKE_BINARY_DIR}/tests/manifest/own_manifest_fixtures")
    set_tests_properties(${XPV_ARCH}.cli_own_manifest PROPERTIES RESOURCE_LOCK registry)
endif()
# --version must print the version project() sets.
if(TARGET test_cli_usage)
    target_compile_definitions(test_cli_usage PRIVATE XPV_PROJECT_VERSION=L"${PROJECT_VERSION}")
endif()
