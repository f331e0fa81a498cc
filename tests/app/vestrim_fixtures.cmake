# Small programs with known version details for the Vestrim panel's tests.
set(vestrim_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/vestrim_fixtures)
function(add_vestrim_fixture name company product description)
    set(FIXTURE_COMPANY "${company}")
    set(FIXTURE_PRODUCT "${product}")
    set(FIXTURE_DESCRIPTION "${description}")
    set(sources ${CMAKE_CURRENT_SOURCE_DIR}/vestrim_fixtures/fixture.c)
    if(company OR product OR description)
        configure_file(${CMAKE_CURRENT_SOURCE_DIR}/vestrim_fixtures/fixture.rc.in
            ${vestrim_fixture_dir}/${name}.rc @ONLY)
        list(APPEND sources ${vestrim_fixture_dir}/${name}.rc)
    endif()
    add_executable(vestrim_fixture_${name} WIN32 ${sources})
    set_target_properties(vestrim_fixture_${name} PROPERTIES OUTPUT_NAME ${name}
        RUNTIME_OUTPUT_DIRECTORY ${vestrim_fixture_dir})
    set(vestrim_fixture_targets ${vestrim_fixture_targets} vestrim_fixture_${name} PARENT_SCOPE)
endfunction()

set(vestrim_fixture_targets)
add_vestrim_fixture(alpha "Alpha Works" "Alpha Editor" "Edits alpha files")
add_vestrim_fixture(beta "Beta & Sons" "Beta \"\"Viewer\"\"" "Views <beta> files")
add_vestrim_fixture(plain "" "" "")

if(TARGET test_vestrim_panel)
    add_dependencies(test_vestrim_panel ${vestrim_fixture_targets})
    target_sources(test_vestrim_panel PRIVATE $<TARGET_OBJECTS:xpv_resources>)
    target_compile_definitions(test_vestrim_panel PRIVATE
        XPV_VESTRIM_FIXTURES=L"Z:${vestrim_fixture_dir}")
endif()
