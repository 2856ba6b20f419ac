# Packages of what `cmake --install` installs, made by cpack: a .deb on
# Linux; for Windows a zip to unpack and run, and an installer.
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${FORTPAD_TEAM}")
set(CPACK_PACKAGE_CONTACT "${FORTPAD_TEAM} <${FORTPAD_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "number fortune-telling toy (${FORTPAD_PRODUCT_NAME}), for amusement only")
set(CPACK_STRIP_FILES ON)
# The release's time: the date of a zip's files, and of a .deb's where
# SOURCE_DATE_EPOCH is not set.
set(CPACK_RELEASE_EPOCH ${FORTPAD_RELEASE_EPOCH})

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/packaging-windows.cmake)
else()
    include(${CMAKE_CURRENT_LIST_DIR}/packaging-debian.cmake)
endif()
include(CPack)
