# history_writer.exe: a second program recording history entries at the same time as a test.
add_executable(history_writer ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/history_writer.cpp)
target_link_libraries(history_writer PRIVATE xpv_history)
target_link_options(history_writer PRIVATE -municode)
xpv_windows_path(history_writer_path ${CMAKE_CURRENT_BINARY_DIR}/history_writer.exe)
if(TARGET test_history_store)
    add_dependencies(test_history_store history_writer)
    target_compile_definitions(test_history_store PRIVATE XPV_HISTORY_WRITER=L"${history_writer_path}")
endif()

# History files that are no regular files (made by the host, as Wine makes no links or pipes): a
# symbolic link to an empty file, a folder and a named pipe.
set(history_links_tree ${CMAKE_CURRENT_BINARY_DIR}/history_links)
add_custom_command(OUTPUT ${history_links_tree}/made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${history_links_tree}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${history_links_tree}/folder.db
    COMMAND ${CMAKE_COMMAND} -E touch ${history_links_tree}/target.db
    COMMAND ${CMAKE_COMMAND} -E create_symlink target.db ${history_links_tree}/link.db
    COMMAND mkfifo ${history_links_tree}/pipe.db
    COMMAND ${CMAKE_COMMAND} -E touch ${history_links_tree}/made
    COMMENT "Making history files that are no regular files")
add_custom_target(history_links_tree DEPENDS ${history_links_tree}/made)
if(TARGET test_history_store)
    add_dependencies(test_history_store history_links_tree)
    target_compile_definitions(test_history_store PRIVATE XPV_HISTORY_LINKS=L"Z:${history_links_tree}")
endif()

# A history change on a disk that cannot hold it. The test program runs under a file size limit
# of 64 KiB (bash's ulimit -f counts KiB) with the signal of a write beyond it ignored: such a
# write then stops short and fails, as on a full disk.
add_executable(test_history_full_disk ${CMAKE_CURRENT_SOURCE_DIR}/full_disk_history.cpp)
target_link_libraries(test_history_full_disk PRIVATE xpv_doctest_main xpv_history)
target_compile_definitions(test_history_full_disk PRIVATE XPV_FILE_SIZE_LIMIT=65536)
add_test(NAME ${XPV_ARCH}.history_full_disk
    COMMAND bash -c "trap '' XFSZ && ulimit -f 64 && exec \"$@\"" limit
        ${CMAKE_BINARY_DIR}/wine-run.sh --doctest $<TARGET_FILE:test_history_full_disk>
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(${XPV_ARCH}.history_full_disk PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
if(XPV_ARCH STREQUAL "i686")
    set_tests_properties(${XPV_ARCH}.history_full_disk PROPERTIES SKIP_RETURN_CODE ${XPV_SKIP_RETURN_CODE}
        LABELS runs-32-bit-code)
endif()

# Folders that take no new file, each holding a history.db that may be written (made immutable by
# fixtures/sealed_folder.sh): made before the tests that use them, removed after them.
set(sealed_folders ${CMAKE_CURRENT_BINARY_DIR}/sealed_folders)
set(sealed_script ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/sealed_folder.sh)
add_test(NAME ${XPV_ARCH}.sealed_folders_make
    COMMAND sh ${sealed_script} make ${sealed_folders}/store ${sealed_folders}/full_disk)
add_test(NAME ${XPV_ARCH}.sealed_folders_remove
    COMMAND sh ${sealed_script} remove ${sealed_folders}/store ${sealed_folders}/full_disk)
set_tests_properties(${XPV_ARCH}.sealed_folders_make PROPERTIES FIXTURES_SETUP ${XPV_ARCH}_sealed_folders)
set_tests_properties(${XPV_ARCH}.sealed_folders_remove PROPERTIES FIXTURES_CLEANUP ${XPV_ARCH}_sealed_folders)
foreach(test_name history_store history_full_disk)
    set_property(TEST ${XPV_ARCH}.${test_name} APPEND PROPERTY FIXTURES_REQUIRED ${XPV_ARCH}_sealed_folders)
endforeach()
xpv_windows_path(sealed_folders_path ${sealed_folders})
target_compile_definitions(test_history_store PRIVATE XPV_SEALED_FOLDER=L"${sealed_folders_path}/store")
target_compile_definitions(test_history_full_disk PRIVATE XPV_SEALED_FOLDER=L"${sealed_folders_path}/full_disk")
