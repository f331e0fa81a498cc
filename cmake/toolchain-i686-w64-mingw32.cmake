# Cross build for 32-bit Windows (XP and later) with MinGW-w64; tests run through Wine.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(XPV_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
