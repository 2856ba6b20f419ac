# cpack: <name>-<version>-windows-x64.zip, the program, its readme and licence
# to unpack anywhere, and the same name as .exe, an installer with a
# Start-menu entry and an uninstaller (NSIS).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_EXECUTABLES ${PROJECT_NAME} "${FORTPAD_PRODUCT_NAME}")
# The program lies in the installation folder itself, not in CPack's bin/.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_BINARY_DIR}/LICENSE.txt")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "${FORTPAD_PRODUCT_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${FORTPAD_PRODUCT_NAME}")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/resources/${PROJECT_NAME}.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME ${PROJECT_NAME}.exe)
set(CPACK_NSIS_CONTACT "${FORTPAD_EMAIL}")
# A 64-bit installer, like the program: it then runs where 32-bit programs
# cannot, as under a Wine without 32-bit support.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# The installer keeps its folder under Software\<vendor>\<name>; CPack's
# uninstaller removes only that key, after these commands: remove it here,
# and then the vendor's key too, once it is empty. (CPack writes the value
# into a CMake script once more: escape twice.)
set(vendor_key "Software\\\\${CPACK_PACKAGE_VENDOR}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "DeleteRegKey SHCTX '${vendor_key}\\\\${CPACK_PACKAGE_INSTALL_DIRECTORY}'
DeleteRegKey /ifempty SHCTX '${vendor_key}'")
# The program is packaged as the build links it, already stripped, so that
# the zip's and the installer's fortpad.exe are the build's, byte for byte;
# the zip is dated by the release, and SHA256SUMS beside the packages lets a
# user check a download.
set(CPACK_STRIP_FILES OFF)
set(CPACK_RELEASE_EPOCH ${FORTPAD_RELEASE_EPOCH})
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/after-packaging.cmake")
