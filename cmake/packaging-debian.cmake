# cpack -G DEB
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DESCRIPTION "Type a number and press Enter: the program takes the digits at its end
and shows one of eighty fixed verdicts, in a green list for good luck or a
red list for bad or mixed luck. Simplified Chinese interface. It is a toy
for amusement only and saves nothing.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A cross build is packaged for its own architecture, its libraries looked
# up as that architecture's (package-settings.cmake tells dpkg-shlibdeps).
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
# Not "games": Debian puts games in /usr/games, and the program installs to bin/.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so not found by shlibdeps: a font that can show the Chinese
# texts. The X11 platform plugin comes with libqt6gui6, which shlibdeps finds;
# the Wayland one lets a Wayland session run without XWayland, and Qt's
# translations give its own buttons in the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The same commit gives the same bytes: every file in the package is dated by
# SOURCE_DATE_EPOCH (./package.sh sets it to the last commit's time), or by
# the release without it, and SHA256SUMS beside the package lets a user check
# a download.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/package-settings.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/after-packaging.cmake")
