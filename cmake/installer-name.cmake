# Read by cpack for each package it makes: the installer serves every
# Windows, so its name names no architecture.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_INSTALLER_FILE_NAME}")
endif()
