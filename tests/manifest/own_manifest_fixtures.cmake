# Programs that carry a manifest of their own (resource type 24), built from the probe so that the
# loader can be asked what it makes of them, and damaged copies of one:
#   own_cc6.exe          asks for Common Controls 6
#   own_cc6_german.exe   the same under a language other than neutral
#   own_trust.exe        the trust section only, as current build tools embed
#   own_cc6_id2.exe      asks for it under id 2, which the loader does not read for a program
#   own_large.exe        asks for it after 100 KiB of comments
#   own_oversized.exe    asks for it only after more than is read of a manifest (1 MiB of comments)
#   own_cc6_utf-16be-marked.exe, own_cc6_utf-16le-unmarked.exe
#                        asks for it in UTF-16 of either byte order, with and without a mark
#   own_<damage>.exe     own_cc6.exe with its resource directory damaged by the platform fixtures' script
#   own_repeated-tree.exe own_cc6.exe whose manifest is reached through a tree that repeats each
#                        entry 200 times (8 million paths)
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

# Comments between the assembly's start and its dependency, so that it is found only by reading
# that far.
file(READ ${own_manifest_sources}/own_cc6.manifest cc6_text)
string(FIND "${cc6_text}" "  <dependency>" dependency_at)
string(SUBSTRING "${cc6_text}" 0 ${dependency_at} cc6_head)
string(SUBSTRING "${cc6_text}" ${dependency_at} -1 cc6_tail)
string(REPEAT "  <!-- a comment as long as a line of a large manifest, with nothing in it -->\n" 80 comments_6k)
foreach(fixture_size large:16 oversized:180)
    string(REPLACE ":" ";" fixture_size ${fixture_size})
    list(GET fixture_size 0 fixture)
    list(GET fixture_size 1 blocks)
    string(REPEAT "${comments_6k}" ${blocks} padding)
    set(padded_manifest ${own_manifest_dir}/${fixture}.manifest)
    file(WRITE ${padded_manifest} "${cc6_head}${padding}${cc6_tail}")
    xpv_add_own_manifest_fixture(own_${fixture} ${padded_manifest} 1 "${neutral}")
endforeach()

set(encode_script ${own_manifest_sources}/encode_manifest.py)
foreach(form utf-16be-marked utf-16le-unmarked)
    set(encoded_manifest ${own_manifest_dir}/own_cc6_${form}.manifest)
    add_custom_command(OUTPUT ${encoded_manifest}
        COMMAND ${Python3_EXECUTABLE} -B ${encode_script} ${form} ${own_manifest_sources}/own_cc6.manifest
            ${encoded_manifest}
        DEPENDS ${encode_script} ${own_manifest_sources}/own_cc6.manifest
        VERBATIM)
    xpv_add_own_manifest_fixture(own_cc6_${form} ${encoded_manifest} 1 "${neutral}")
endforeach()

set(damage_script ${CMAKE_SOURCE_DIR}/tests/platform/version_fixtures/damage_resource_directory.py)
foreach(damage data-past-end size-past-end directory-loop cut-directory)
    set(output ${own_manifest_dir}/own_${damage}.exe)
    add_custom_command(OUTPUT ${output}
        COMMAND ${Python3_EXECUTABLE} -B ${damage_script} ${damage} $<TARGET_FILE:own_manifest_own_cc6> ${output}
        DEPENDS own_manifest_own_cc6 ${damage_script}
        VERBATIM)
    list(APPEND damaged_own_manifests ${output})
endforeach()
set(repeat_script ${own_manifest_sources}/repeat_resource_tree.py)
set(repeated_tree ${own_manifest_dir}/own_repeated-tree.exe)
add_custom_command(OUTPUT ${repeated_tree}
    COMMAND ${Python3_EXECUTABLE} -B ${repeat_script} 200 $<TARGET_FILE:own_manifest_own_cc6> ${repeated_tree}
    DEPENDS own_manifest_own_cc6 ${repeat_script}
    VERBATIM)
list(APPEND damaged_own_manifests ${repeated_tree})
add_custom_target(own_manifest_damaged DEPENDS ${damaged_own_manifests})
add_dependencies(own_manifest_fixtures own_manifest_damaged)

add_dependencies(test_own_manifest own_manifest_fixtures)
target_compile_definitions(test_own_manifest PRIVATE
    XPV_OWN_MANIFESTS=L"Z:${own_manifest_dir}"
    XPV_OWN_CC6_MANIFEST=L"Z:${own_manifest_sources}/own_cc6.manifest"
    XPV_OWN_OVERSIZED_MANIFEST=L"Z:${own_manifest_dir}/oversized.manifest")
