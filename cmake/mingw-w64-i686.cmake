# The 32-bit companion launcher: the same sources and build, compiled for 32-bit Windows in a build tree of its own.
set(KORU_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
