# Fixtures of the batch tests: the Vestrim panel's programs with known version details, and
# a tree with real symbolic links (made by the host, as Wine makes none), one of them a loop.
set(batch_link_tree ${CMAKE_CURRENT_BINARY_DIR}/link_tree)
add_custom_command(OUTPUT ${batch_link_tree}/made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${batch_link_tree}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${batch_link_tree}/walked/A ${batch_link_tree}/walked/B
        ${batch_link_tree}/outside
    COMMAND ${CMAKE_COMMAND} -E touch ${batch_link_tree}/walked/top.exe ${batch_link_tree}/walked/A/a.exe
        ${batch_link_tree}/walked/B/b.exe ${batch_link_tree}/outside/far.exe
    COMMAND ${CMAKE_COMMAND} -E create_symlink .. ${batch_link_tree}/walked/A/back
    COMMAND ${CMAKE_COMMAND} -E create_symlink ../../outside ${batch_link_tree}/walked/A/outside
    COMMAND ${CMAKE_COMMAND} -E touch ${batch_link_tree}/made
    COMMENT "Making the batch search's tree of symbolic links")
add_custom_target(batch_link_tree DEPENDS ${batch_link_tree}/made)

foreach(test_name batch_search folder_identity)
    if(TARGET test_${test_name})
        # The Vestrim panel's tests build these programs, the platform's tests the folder of names
        # no path can hold.
        add_dependencies(test_${test_name} batch_link_tree vestrim_fixture_alpha vestrim_fixture_plain
            odd_names_tree)
        target_compile_definitions(test_${test_name} PRIVATE
            XPV_BATCH_PROGRAMS=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_alpha>"
            XPV_BATCH_LINK_TREE=L"Z:${batch_link_tree}"
            XPV_ODD_NAMES=L"Z:${CMAKE_BINARY_DIR}/tests/platform/odd_names")
    endif()
endforeach()
