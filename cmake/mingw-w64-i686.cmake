# Cross-builds fortpad.exe for 32-bit (x86) Windows with MinGW-w64:
#   cmake -S . -B build-win-x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(mingw_processor i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
