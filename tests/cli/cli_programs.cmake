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
# A tree of 70,000 programs (hard links, made by the host before the test and removed after it).
# The window's result list stops at 65,535 lines; the console program has no such limit. Sizes are
# no matter of the architecture, and the test takes minutes even natively: only the x64 tree has it.
if(XPV_ARCH STREQUAL "x86_64")
    set(big_tree ${CMAKE_CURRENT_BINARY_DIR}/big_tree)
    set(big_tree_script ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/big_tree.py)
    xpv_add_test(cli_big_tree SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/cli_big_tree.cpp LIBS xpv_cli
        DEPENDS xpvestrim-cli vestrim_fixture_plain TIMEOUT 3600)
    target_compile_definitions(test_cli_big_tree PRIVATE
        XPV_CLI_PROGRAM=L"Z:$<TARGET_FILE:xpvestrim-cli>"
        XPV_BIG_TREE=L"Z:${big_tree}"
        XPV_BIG_TREE_PROGRAMS=70000)
    add_test(NAME ${XPV_ARCH}.big_tree_make
        COMMAND ${Python3_EXECUTABLE} ${big_tree_script} make ${big_tree} $<TARGET_FILE:vestrim_fixture_plain> 70 1000)
    add_test(NAME ${XPV_ARCH}.big_tree_remove COMMAND ${Python3_EXECUTABLE} ${big_tree_script} remove ${big_tree})
    set_tests_properties(${XPV_ARCH}.big_tree_make PROPERTIES FIXTURES_SETUP ${XPV_ARCH}_big_tree)
    set_tests_properties(${XPV_ARCH}.big_tree_remove PROPERTIES FIXTURES_CLEANUP ${XPV_ARCH}_big_tree)
    set_tests_properties(${XPV_ARCH}.cli_big_tree PROPERTIES FIXTURES_REQUIRED "wine;${XPV_ARCH}_big_tree")
endif()
