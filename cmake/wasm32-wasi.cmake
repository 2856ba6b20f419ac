# Builds the browser window: the reckoning and the form's behaviour as a
# WebAssembly module, with Debian's clang (whichever version is installed),
# wasi-libc and libc++ for wasm32:
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_SYSROOT /usr)
# No exceptions: nothing in the module throws, and they would cost size.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# A library module: the page calls its exports; no main.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mexec-model=reactor")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
