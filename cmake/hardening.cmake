# Debian's hardening for the Linux program, as dpkg-buildflags gives it with
# hardening=+all: stack protector, fortified libc calls (which need the
# optimiser: not in Debug), stack clash and control-flow protection, format
# checks, a position-independent executable and read-only relocations bound
# at start-up.
add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection -Wformat
    -Werror=format-security $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro,-z,now)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
# No build folder in the program: the same commit built anywhere gives the
# same bytes.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
