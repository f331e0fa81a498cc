# Programs that carry a manifest of their own (resource type 24), built from the probe so that the
# loader can be asked what it makes of them, and damaged copies of one:
#   own_cc6.exe          asks for Common Controls 6
#   own_cc6_german.exe   the same under a language other than neutral
#   own_trust.exe        the trust section only, as current build tools embed
#   own_cc6_id2.exe      asks for it under id 2, which the loader does not read for a program
#   own_oversized.exe    asks for it in a manifest larger than any real one (over 64 KiB)
#   own_<damage>.exe     own_cc6.exe with its resource directory damaged by the platform fixtures' script
set(own_manifest_dir ${CMAKE_CURRENT_BINARY_DIR}/own_manifest_fixtures)
set(own_manifest_sources ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
add_custom_target(own_manifest_fixtures)

# xpv_add_own_manifest_fixture(<name> <manifest file> <resource id> <language statement>)
function(xpv_add_own_manifest_fixture name manifest id language)
    set(script ${own_manifest_dir}/${name}.rc)
    file(WRITE ${script} "${language}\n${id} 24 \"${manifest}\"\n")
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${manifest})
    add_executable(own_manifest_${name} ${own_manifest_sources}/comctl_probe.c ${script})
    target_link_options(own_manifest_${name} PRIVATE -municode)
    set_target_properties(own_manifest_${name} PROPERTIES OUTPUT_NAME ${name}
        RUNTIME_OUTPUT_DIRECTORY ${own_manifest_dir})
    add_dependencies(own_manifest_fixtures own_manifest_${name})
endfunction()

set(neutral "LANGUAGE 0, 0")
xpv_add_own_manifest_fixture(own_cc6 ${own_manifest_sources}/own_cc6.manifest 1 "${neutral}")
xpv_add_own_manifest_fixture(own_cc6_german ${own_manifest_sources}/own_cc6.manifest 1 "LANGUAGE 0x07, 0x01")
xpv_add_own_manifest_fixture(own_trust ${own_manifest_sources}/own_trust.manifest 1 "${neutral}")
xpv_add_own_manifest_fixture(own_cc6_id2 ${own_manifest_sources}/own_cc6.manifest 2 "${neutral}")

file(READ ${own_manifest_sources}/own_cc6.manifest cc6_text)
string(REPEAT "<!-- padding that makes the manifest larger than any real one -->\n" 1100 padding)
set(oversized_manifest ${own_manifest_dir}/oversized.manifest)
file(WRITE ${oversized_manifest} "${cc6_text}${padding}")
xpv_add_own_manifest_fixture(own_oversized ${oversized_manifest} 1 "${neutral}")

set(damage_script ${CMAKE_SOURCE_DIR}/tests/platform/version_fixtures/damage_resource_directory.py)
foreach(damage data-past-end size-past-end directory-loop cut-directory)
    set(output ${own_manifest_dir}/own_${damage}.exe)
    add_custom_command(OUTPUT ${output}
        COMMAND ${Python3_EXECUTABLE} -B ${damage_script} ${damage} $<TARGET_FILE:own_manifest_own_cc6> ${output}
        DEPENDS own_manifest_own_cc6 ${damage_script}
        VERBATIM)
    list(APPEND damaged_own_manifests ${output})
endforeach()
add_custom_target(own_manifest_damaged DEPENDS ${damaged_own_manifests})
add_dependencies(own_manifest_fixtures own_manifest_damaged)

add_dependencies(test_own_manifest own_manifest_fixtures)
target_compile_definitions(test_own_manifest PRIVATE
    XPV_OWN_MANIFESTS=L"Z:${own_manifest_dir}"
    XPV_OWN_CC6_MANIFEST=L"Z:${own_manifest_sources}/own_cc6.manifest")
