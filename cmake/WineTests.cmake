# Test executables run through Wine, inside one Xvfb display and one wineserver per ctest run.
find_file(DOCTEST_HEADER doctest/doctest.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
# A copy of its own, so that the host's /usr/include never reaches the cross compiler.
set(DOCTEST_INCLUDE_DIR ${CMAKE_BINARY_DIR}/doctest-include)
configure_file(${DOCTEST_HEADER} ${DOCTEST_INCLUDE_DIR}/doctest/doctest.h COPYONLY)

# Both architectures' build trees may point at one root and so share one session.
set(XPV_WINE_ROOT "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Where the test Wine prefix and session live")
set(XPV_SOURCE_DIR "${CMAKE_SOURCE_DIR}")
# wine-run.sh ends with this status instead of running a 32-bit program on a host that runs none.
set(XPV_SKIP_RETURN_CODE 77)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
# Test programs are doctest programs: the launcher checks doctest's own verdict too.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh --doctest)

add_test(NAME ${XPV_ARCH}.wine_session_start
    COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-session.sh start ${XPV_WINE_ROOT})
add_test(NAME ${XPV_ARCH}.wine_session_stop
    COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-session.sh stop ${XPV_WINE_ROOT})
set_tests_properties(${XPV_ARCH}.wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(${XPV_ARCH}.wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

add_library(xpv_doctest_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/doctest_main.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/TempFolder.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/ComctlProbe.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/InsideYield.cpp)
target_include_directories(xpv_doctest_main PUBLIC ${DOCTEST_INCLUDE_DIR} ${CMAKE_SOURCE_DIR}/tests)
# The default MinGW thread model has no std::mutex.
target_compile_definitions(xpv_doctest_main PUBLIC DOCTEST_CONFIG_NO_MULTITHREADING)
target_link_libraries(xpv_doctest_main PUBLIC xpv_platform)

# The path by which a test program reaches a file of the build.
function(xpv_windows_path out path)
    if(CMAKE_HOST_WIN32)
        set(${out} "${path}" PARENT_SCOPE)
    else()
        # Wine reaches the Linux root as drive Z:.
        set(${out} "Z:${path}" PARENT_SCOPE)
    endif()
endfunction()

# xpv_add_test(<name> SOURCES <files...> [LIBS <targets...>] [DEPENDS <targets...>] [TIMEOUT s])
# Builds test_<name>.exe and registers <arch>.<name>, run by Wine in the test session.
function(xpv_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(test_${name} ${T_SOURCES})
    target_link_libraries(test_${name} PRIVATE xpv_doctest_main ${T_LIBS})
    if(T_DEPENDS)
        add_dependencies(test_${name} ${T_DEPENDS})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${XPV_ARCH}.${name} COMMAND test_${name}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${XPV_ARCH}.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT})
    if(XPV_ARCH STREQUAL "i686")
        set_property(TEST ${XPV_ARCH}.${name} PROPERTY SKIP_RETURN_CODE ${XPV_SKIP_RETURN_CODE})
        set_property(TEST ${XPV_ARCH}.${name} APPEND PROPERTY LABELS runs-32-bit-code)
    endif()
endfunction()
