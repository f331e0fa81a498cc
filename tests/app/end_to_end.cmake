# The end-to-end test runs the Common Controls probe of this build's own architecture.
if(TARGET test_vestrim_end_to_end)
    if(XPV_ARCH STREQUAL "i686")
        set(own_probe comctl_probe_x86)
    else()
        set(own_probe comctl_probe_x64)
    endif()
    add_dependencies(test_vestrim_end_to_end ${own_probe})
    target_sources(test_vestrim_end_to_end PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_vestrim_end_to_end PRIVATE
        XPV_OWN_PROBE=L"Z:$<TARGET_FILE:${own_probe}>")
endif()
