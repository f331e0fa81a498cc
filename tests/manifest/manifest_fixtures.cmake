# Fixture programs of the manifest tests, plain C without resources, so that no manifest is
# embedded in them: the loader then honours the external one a test writes beside them.
#   comctl_probe_x86.exe, comctl_probe_x64.exe: report which comctl32.dll they loaded.
#   hold_open.exe: keeps a file open without sharing, from another process.
set(manifest_fixture_source ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)

# The probe for this build's architecture with this build's compiler, the other one with the
# other cross compiler when it is installed, so each build proves both architectures.
if(XPV_ARCH STREQUAL "i686")
    set(probe_own x86)
    set(probe_other x64)
    set(probe_other_compiler_name x86_64-w64-mingw32-gcc)
else()
    set(probe_own x64)
    set(probe_other x86)
    set(probe_other_compiler_name i686-w64-mingw32-gcc)
endif()

add_executable(comctl_probe_${probe_own} ${manifest_fixture_source}/comctl_probe.c)
target_link_options(comctl_probe_${probe_own} PRIVATE -municode)
set(probe_targets comctl_probe_${probe_own})
xpv_windows_path(probe_${probe_own}_path ${CMAKE_CURRENT_BINARY_DIR}/comctl_probe_${probe_own}.exe)

find_program(XPV_OTHER_ARCH_CC ${probe_other_compiler_name})
if(XPV_OTHER_ARCH_CC)
    set(other_probe ${CMAKE_CURRENT_BINARY_DIR}/comctl_probe_${probe_other}.exe)
    add_custom_command(OUTPUT ${other_probe}
        COMMAND ${XPV_OTHER_ARCH_CC} -municode -O2 -static-libgcc -DUNICODE -D_UNICODE
            -o ${other_probe} ${manifest_fixture_source}/comctl_probe.c
        DEPENDS ${manifest_fixture_source}/comctl_probe.c
        COMMENT "Building the ${probe_other} probe with ${probe_other_compiler_name}")
    add_custom_target(comctl_probe_${probe_other} DEPENDS ${other_probe})
    list(APPEND probe_targets comctl_probe_${probe_other})
    xpv_windows_path(probe_${probe_other}_path ${other_probe})
else()
    set(probe_${probe_other}_path "")
endif()

add_executable(hold_open ${manifest_fixture_source}/hold_open.c)
target_link_options(hold_open PRIVATE -municode)
xpv_windows_path(hold_open_path ${CMAKE_CURRENT_BINARY_DIR}/hold_open.exe)

set(manifest_fixture_definitions
    XPV_PROBE_X86=L"${probe_x86_path}"
    XPV_PROBE_X64=L"${probe_x64_path}"
    XPV_HOLD_OPEN=L"${hold_open_path}")
foreach(test_name executable_architecture manifest_file manifest_probe)
    if(TARGET test_${test_name})
        add_dependencies(test_${test_name} ${probe_targets} hold_open)
        target_compile_definitions(test_${test_name} PRIVATE ${manifest_fixture_definitions})
    endif()
endforeach()

# It sets a policy of the current user's registry for a moment.
if(TARGET test_manifest_file)
    set_tests_properties(${XPV_ARCH}.manifest_file PROPERTIES RESOURCE_LOCK registry)
endif()

# Symbolic links (made by the host, as Wine makes none; Wine marks links to folders as reparse
# points, links to files not): one named like a manifest that leads to a folder, one that leads to
# a read-only file, and a folder "via" that leads to "elsewhere", which holds a program and a
# manifest.
set(manifest_link_tree ${CMAKE_CURRENT_BINARY_DIR}/manifest_links)
add_custom_command(OUTPUT ${manifest_link_tree}/made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${manifest_link_tree}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${manifest_link_tree}/target ${manifest_link_tree}/links
        ${manifest_link_tree}/elsewhere
    COMMAND ${CMAKE_COMMAND} -E create_symlink ../target ${manifest_link_tree}/links/folder.exe.manifest
    COMMAND ${CMAKE_COMMAND} -E touch ${manifest_link_tree}/target/read-only.txt
        ${manifest_link_tree}/elsewhere/app.exe ${manifest_link_tree}/elsewhere/app.exe.manifest
    COMMAND chmod a-w ${manifest_link_tree}/target/read-only.txt
    COMMAND ${CMAKE_COMMAND} -E create_symlink ../target/read-only.txt ${manifest_link_tree}/links/file.exe.manifest
    COMMAND ${CMAKE_COMMAND} -E create_symlink elsewhere ${manifest_link_tree}/via
    COMMAND ${CMAKE_COMMAND} -E touch ${manifest_link_tree}/made
    COMMENT "Making symbolic links named like manifests and on their way")
add_custom_target(manifest_link_tree DEPENDS ${manifest_link_tree}/made)
if(TARGET test_manifest_file)
    add_dependencies(test_manifest_file manifest_link_tree)
    target_compile_definitions(test_manifest_file PRIVATE XPV_MANIFEST_LINKS=L"Z:${manifest_link_tree}")
endif()
