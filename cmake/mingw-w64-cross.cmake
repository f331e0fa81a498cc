# What both toolchain files share: the MinGW-w64 tools of XPV_TRIPLE, and libraries and headers
# found only under its own root.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${XPV_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${XPV_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${XPV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${XPV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
