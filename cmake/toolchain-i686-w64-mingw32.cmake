# Cross build for 32-bit Windows with the MinGW-w64 posix-thread compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(YUNTI_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Tests run under Wine's 32-bit loader.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
