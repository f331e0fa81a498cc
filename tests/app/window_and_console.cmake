# The window beside the console program it ships with.
if(TARGET test_window_and_console)
    add_dependencies(test_window_and_console xpvestrim-cli vestrim_fixture_plain)
    target_sources(test_window_and_console PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_window_and_console PRIVATE
        XPV_CLI_PROGRAM=L"Z:$<TARGET_FILE:xpvestrim-cli>"
        XPV_VESTRIM_FIXTURES=L"Z:$<TARGET_FILE_DIR:vestrim_fixture_plain>")
    # Its action takes the keyboard focus, as the other window tests' do.
    set_tests_properties(${XPV_ARCH}.window_and_console PROPERTIES RESOURCE_LOCK desktop)
endif()
