# Cross-compiles the 32-bit Windows build, the one players run; it cannot execute on this machine.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
