# Cross build for 64-bit Windows with MinGW-w64; tests run through Wine.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(XPV_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
