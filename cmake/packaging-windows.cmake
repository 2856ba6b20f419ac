# cpack: <name>-<version>-windows-<x64|x86>.zip, the program, its readme and
# licence to unpack anywhere. The x64 build also makes
# <name>-<version>-windows-setup.exe, one installer for every Windows with a
# Start-menu entry and an uninstaller (NSIS): it puts the x64 program on x64
# Windows and the x86 one, taken from the x86 build tree, everywhere else.
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-windows-${FORTPAD_WINDOWS_ARCH}")
# Values reach cpack as written here, with no second escaping.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
# The program is packaged as the build links it, already stripped, so that
# the zip's and the installer's fortpad.exe are the build's, byte for byte;
# the zip is dated by the release, and SHA256SUMS beside the packages lets a
# user check a download.
set(CPACK_STRIP_FILES OFF)
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/after-packaging.cmake")

set(FORTPAD_X86_BUILD "" CACHE PATH "The x86 build tree, whose program the installer puts on x86 and ARM Windows")
if(FORTPAD_WINDOWS_ARCH STREQUAL x86 OR NOT FORTPAD_X86_BUILD)
    return()
endif()
list(APPEND CPACK_GENERATOR NSIS)
set(CPACK_INSTALLER_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-windows-setup")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/installer-name.cmake")
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
# A 32-bit installer, so that it runs on every Windows. It installs the x64
# program and readme, then, unless Windows runs natively on x64, puts the
# x86 ones in their place: 32-bit Windows and Windows 10 on ARM run only x86
# programs.
set(CPACK_NSIS_DEFINES "Target x86-unicode\n!include x64.nsh")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "\${IfNot} \${IsNativeAMD64}
SetOutPath '$INSTDIR'
File '${FORTPAD_X86_BUILD}/src/window/win32/${PROJECT_NAME}.exe'
File '${FORTPAD_X86_BUILD}/readme.txt'
\${EndIf}")
# The installer keeps its folder under Software\<vendor>\<name>; CPack's
# uninstaller removes only that key, after these commands: remove it here,
# and then the vendor's key too, once it is empty.
set(vendor_key "Software\\${CPACK_PACKAGE_VENDOR}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "DeleteRegKey SHCTX '${vendor_key}\\${CPACK_PACKAGE_INSTALL_DIRECTORY}'
DeleteRegKey /ifempty SHCTX '${vendor_key}'")
