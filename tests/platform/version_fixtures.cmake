# Fixtures of the VersionInfo tests: tiny images that carry nothing but a version resource, built
# with windres and the cross compiler, and damaged copies patched at build time.
set(version_fixture_sources ${CMAKE_CURRENT_SOURCE_DIR}/version_fixtures)
set(version_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/version_fixtures)

add_library(version_fixture_entry OBJECT ${version_fixture_sources}/fixture_entry.c)
add_custom_target(version_fixtures_built)

# xpv_add_version_fixture(<name> [<resource script>]): builds version_fixtures/<name>.dll.
function(xpv_add_version_fixture name)
    add_library(version_fixture_${name} MODULE $<TARGET_OBJECTS:version_fixture_entry> ${ARGN})
    set_target_properties(version_fixture_${name} PROPERTIES
        PREFIX "" OUTPUT_NAME ${name} LINKER_LANGUAGE C
        LIBRARY_OUTPUT_DIRECTORY ${version_fixture_dir})
    # No runtime library: the entry point and the resource are all there is.
    target_link_options(version_fixture_${name} PRIVATE -nostdlib -s)
    add_dependencies(version_fixtures_built version_fixture_${name})
endfunction()

xpv_add_version_fixture(no_version_resource)
foreach(name translation_zero no_translation several_translations swedish_unicode utf8_codepage)
    xpv_add_version_fixture(${name} ${version_fixture_sources}/${name}.rc)
endforeach()

# Fixed fields: name, flags mask, flags, operating system, file type, file subtype.
set(fixed_field_cases
    "flags_all_set       0x3F 0x3F 0x00040004 1 0"
    "flags_masked        0x15 0x3F 0x00000004 3 6"
    "flag_0x10_only      0x3F 0x10 0x00010001 4 3"
    "virtual_device      0x3F 0x06 0x00020002 5 0x2A"
    "type_6              0x3F 0x08 0x00030003 6 1"
    "static_library      0x3F 0x20 0x00000000 7 0"
    "driver_input_method 0x00 0x3F 0x00040000 3 11"
    "driver_subtype_12   0x3F 0x00 0x00050004 3 12"
    "driver_printer      0x3F 0x00 0x00040001 3 1"
    "font_raster         0x3F 0x00 0x00040004 4 1"
    "font_subtype_4      0x3F 0x00 0x00040004 4 4"
    "dll_with_subtype    0x3F 0x00 0x00040005 2 1"
    "unknown_type        0x3F 0x00 0x80040004 0 0"
    "type_8              0x3F 0x00 0x00040004 8 5")
foreach(case IN LISTS fixed_field_cases)
    string(REGEX REPLACE " +" ";" fields "${case}")
    list(GET fields 0 fixture_name)
    list(GET fields 1 fixture_flags_mask)
    list(GET fields 2 fixture_flags)
    list(GET fields 3 fixture_os)
    list(GET fields 4 fixture_type)
    list(GET fields 5 fixture_subtype)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/version_fixture_scripts/${fixture_name}.rc)
    configure_file(${version_fixture_sources}/fixed_fields.rc.in ${script} @ONLY)
    xpv_add_version_fixture(${fixture_name} ${script})
endforeach()

# Copies of patch_base.dll, each changed in one way by a patcher script: the version block by
# patch_version_block.py, the resource directory by damage_resource_directory.py (which also
# checks that its copy really is damaged that way).
xpv_add_version_fixture(patch_base ${version_fixture_sources}/patch_base.rc)
set(patched_fixtures)
function(xpv_patch_version_fixture script change)
    set(output ${version_fixture_dir}/${change}.dll)
    add_custom_command(OUTPUT ${output}
        COMMAND ${Python3_EXECUTABLE} -B ${version_fixture_sources}/${script}
                ${change} $<TARGET_FILE:version_fixture_patch_base> ${output}
        DEPENDS version_fixture_patch_base ${version_fixture_sources}/${script}
                ${version_fixture_sources}/patch_version_block.py
        VERBATIM)
    set(patched_fixtures ${patched_fixtures} ${output} PARENT_SCOPE)
endfunction()
foreach(change embedded-nul inflated-block string-beyond-block value-without-nul
               empty-translation short-translation translation-beyond-block short-fixed-record
               sixteen-bit-block)
    xpv_patch_version_fixture(patch_version_block.py ${change})
endforeach()
foreach(damage data-past-end size-past-end size-past-section directory-loop cut-directory)
    xpv_patch_version_fixture(damage_resource_directory.py ${damage})
endforeach()
# The window's tests use these files too.
add_custom_target(version_fixtures_patched DEPENDS ${patched_fixtures})

foreach(test_name version_info version_resource_check)
    add_dependencies(test_${test_name} version_fixtures_built version_fixtures_patched)
    target_compile_definitions(test_${test_name} PRIVATE
        "VERSION_FIXTURE_DIR=L\"Z:${version_fixture_dir}/\"")
endforeach()
