# Window tests carry the program's resources (icons, picture, embedded manifest).
foreach(window_test main_form quick_menu)
    if(TARGET test_${window_test})
        target_sources(test_${window_test} PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    endif()
endforeach()

# Tests that move the mouse pointer or take the keyboard focus share one screen with every other
# test of the run (both architectures): they take turns.
foreach(desktop_test quick_menu vestrim_panel vestrim_end_to_end drive_directory_lists)
    if(TARGET test_${desktop_test})
        set_tests_properties(${XPV_ARCH}.${desktop_test} PROPERTIES RESOURCE_LOCK desktop)
    endif()
endforeach()
