# The Help and About tests move the keyboard focus: they take their turn on the shared screen.
foreach(desktop_test help_panel about_panel)
    if(TARGET test_${desktop_test})
        set_tests_properties(${XPV_ARCH}.${desktop_test} PROPERTIES RESOURCE_LOCK desktop)
    endif()
endforeach()
