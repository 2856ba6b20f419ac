# Builds the browser window: the reckoning and the form's behaviour as a
# WebAssembly module, with Debian's clang (whichever version is installed),
# wasi-libc and libc++ for wasm32:
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_SYSROOT /usr)
# No exceptions and no type information: nothing in the module throws or
# asks a type, and they would cost size. A failed library check traps rather
# than printing: the page gives the module no WASI, and libc++ 19 (Debian 13)
# would otherwise bring in stdio to print it.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti '-D_LIBCPP_VERBOSE_ABORT(...)=__builtin_trap()'")
# A library module: the page calls its exports; no main.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mexec-model=reactor")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
