# Read by cpack before it writes a package: the files' date, which CPack's
# archives take from SOURCE_DATE_EPOCH; and for a cross build, the
# architecture whose libraries dpkg-shlibdeps looks up.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RELEASE_EPOCH})
endif()
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
endif()
