# The part of the MinGW-w64 toolchain files that both targets share;
# ZU_MINGW_TRIPLE names the target. Debian's -posix compiler variants are
# used: their C++ library has std::thread and std::mutex, which GoogleTest
# needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZU_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs and zus.exe run through Wine when CTest starts them, in a
# Wine prefix of the build's own (see wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run
    ${CMAKE_BINARY_DIR}/wineprefix)
