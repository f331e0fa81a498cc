# Trees made by the host, which Wine cannot make: Linux names that no Windows name can hold (Wine
# lists them as they are), and symbolic links to a folder and to a file.

# A folder whose entries hold \ : * ? | in their names, "..\escape.exe" among them, next to a
# plain program and a plain folder; each folder holds a program.
set(odd_names_tree ${CMAKE_CURRENT_BINARY_DIR}/odd_names)
add_custom_command(OUTPUT ${odd_names_tree}/made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${odd_names_tree}
    COMMAND mkdir -p ${odd_names_tree}/top/fine ${odd_names_tree}/top/dir\\x ${odd_names_tree}/top/d:e
    COMMAND touch ${odd_names_tree}/top/good.exe ${odd_names_tree}/top/a\\b.exe ${odd_names_tree}/top/c:d.exe
        ${odd_names_tree}/top/..\\escape.exe ${odd_names_tree}/top/what?.exe ${odd_names_tree}/top/star*.exe
        ${odd_names_tree}/top/pipe|.exe ${odd_names_tree}/top/fine/inner.exe ${odd_names_tree}/top/dir\\x/inner.exe
        ${odd_names_tree}/top/d:e/inner.exe
    COMMAND ${CMAKE_COMMAND} -E touch ${odd_names_tree}/made
    COMMENT "Making folders with names Windows cannot hold"
    VERBATIM)
add_custom_target(odd_names_tree DEPENDS ${odd_names_tree}/made)

# A folder with a long name, a link to a file in it, and a link to the folder above it.
set(path_links_tree ${CMAKE_CURRENT_BINARY_DIR}/path_links)
add_custom_command(OUTPUT ${path_links_tree}/made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${path_links_tree}
    COMMAND mkdir -p "${path_links_tree}/real/A Long Folder Name"
    COMMAND touch "${path_links_tree}/real/A Long Folder Name/file.txt"
    COMMAND ln -s "A Long Folder Name/file.txt" ${path_links_tree}/real/file-link.txt
    COMMAND ln -s real ${path_links_tree}/via
    COMMAND ${CMAKE_COMMAND} -E touch ${path_links_tree}/made
    COMMENT "Making symbolic links to a folder and to a file"
    VERBATIM)
add_custom_target(path_links_tree DEPENDS ${path_links_tree}/made)

if(TARGET test_folder_entries)
    add_dependencies(test_folder_entries odd_names_tree)
    target_compile_definitions(test_folder_entries PRIVATE XPV_ODD_NAMES=L"Z:${odd_names_tree}")
endif()
if(TARGET test_path_links)
    add_dependencies(test_path_links path_links_tree)
    target_compile_definitions(test_path_links PRIVATE XPV_PATH_LINKS=L"Z:${path_links_tree}")
endif()
