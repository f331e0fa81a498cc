# history_writer.exe: a second program recording history entries at the same time as a test.
add_executable(history_writer ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/history_writer.cpp)
target_link_libraries(history_writer PRIVATE xpv_history)
target_link_options(history_writer PRIVATE -municode)
xpv_windows_path(history_writer_path ${CMAKE_CURRENT_BINARY_DIR}/history_writer.exe)
if(TARGET test_history_store)
    add_dependencies(test_history_store history_writer)
    target_compile_definitions(test_history_store PRIVATE XPV_HISTORY_WRITER=L"${history_writer_path}")
endif()
