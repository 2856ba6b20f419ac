# cpack: <name>-<version>-windows-x64.zip, the program, its readme and licence
# to unpack anywhere, and the same name as .exe, an installer with a
# Start-menu entry and an uninstaller (NSIS).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_EXECUTABLES ${PROJECT_NAME} "${FORTPAD_PRODUCT_NAME}")
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
