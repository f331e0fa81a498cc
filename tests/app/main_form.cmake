# Window tests carry the program's resources (icons, picture, embedded manifest).
foreach(window_test main_form quick_menu)
    if(TARGET test_${window_test})
        target_sources(test_${window_test} PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    endif()
endforeach()
