# Every import slot of the shipped programs is filled by the loader or points at its delay stub:
# one that holds 0 crashes the program at its first call into that library. Read as files, so it
# runs for both architectures on every host.
set(import_slot_check ${CMAKE_CURRENT_SOURCE_DIR}/check_import_slots.py)
add_test(NAME ${XPV_ARCH}.import_slots
    COMMAND ${Python3_EXECUTABLE} ${import_slot_check} $<TARGET_FILE:xpvestrim> $<TARGET_FILE:xpvestrim-cli>)

if(XPV_ARCH STREQUAL "i686")
    # The fault the check is for: a 32-bit delay-import library made from names with their argument
    # size, whose stubs the linker drops and whose slots it leaves at 0.
    set(broken ${CMAKE_CURRENT_BINARY_DIR}/import_slot_fixtures)
    file(MAKE_DIRECTORY ${broken})
    file(WRITE ${broken}/ole32_sized.def
        "LIBRARY ole32.dll\nEXPORTS\n    CoInitializeEx@8\n    CoUninitialize@0\n")
    add_custom_command(OUTPUT ${broken}/libole32_sized_delay.a
        COMMAND ${CMAKE_DLLTOOL} -k -d ${broken}/ole32_sized.def -y ${broken}/libole32_sized_delay.a -D ole32.dll
        DEPENDS ${broken}/ole32_sized.def)
    add_custom_target(ole32_sized_delay DEPENDS ${broken}/libole32_sized_delay.a)
    add_executable(unfilled_slot_program ${CMAKE_CURRENT_SOURCE_DIR}/import_slot_fixtures/calls_com.cpp)
    add_dependencies(unfilled_slot_program ole32_sized_delay)
    target_link_libraries(unfilled_slot_program PRIVATE ${broken}/libole32_sized_delay.a)
    add_test(NAME ${XPV_ARCH}.import_slots_finds_unfilled
        COMMAND ${Python3_EXECUTABLE} ${import_slot_check} $<TARGET_FILE:unfilled_slot_program>)
    set_tests_properties(${XPV_ARCH}.import_slots_finds_unfilled PROPERTIES
        PASS_REGULAR_EXPRESSION "__imp__CoInitializeEx@8 at 0x[0-9a-f]+ holds 0x0 and no import descriptor fills it")
endif()
