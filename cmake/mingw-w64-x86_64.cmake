# Cross-compiles the Windows launcher with MinGW-w64 (posix thread model: std::mutex and std::thread work).
# cmake/mingw-w64-i686.cmake reuses this file for the 32-bit companion launcher.
if(NOT KORU_MINGW_TRIPLE)
    set(KORU_MINGW_TRIPLE x86_64-w64-mingw32)
endif()
string(REGEX REPLACE "-.*" "" KORU_MINGW_PROCESSOR ${KORU_MINGW_TRIPLE})

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KORU_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${KORU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORU_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# CTest starts the cross-compiled test programs through Wine; scripts/test.sh gives the loader that runs on this
# machine (see scripts/wine-session.sh).
find_program(KORU_WINE NAMES wine wine64)
if(KORU_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KORU_WINE})
endif()
