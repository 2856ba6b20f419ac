# Debian's hardening for the Linux program, as dpkg-buildflags gives it with
# hardening=+all: stack protector, fortified libc calls (which need the
# optimiser, so only in the optimised build types), stack clash protection,
# each architecture's control-flow protection (CET on x86, branch protection
# on arm64), format checks, a position-independent executable and read-only
# relocations bound at start-up.
add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
    add_compile_options(-fcf-protection)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    add_compile_options(-mbranch-protection=standard)
endif()
add_link_options(-Wl,-z,relro,-z,now)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
# No build folder in the program: the same commit built anywhere gives the
# same bytes.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
