# Run by cpack after each generator has made its package, while the package
# is still in CPack's working folder:
# - a zip is rewritten so that the same commit gives the same bytes (zip
#   tools keep each file's access and change times);
# - SHA256SUMS, in CPACK_PACKAGE_DIRECTORY beside the packages, gets the
#   package's line in the format sha256sum -c reads, replacing an older one.
set(sums "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.zip$")
        execute_process(COMMAND python3 "${CMAKE_CURRENT_LIST_DIR}/reproducible-zip.py" "${package}"
            ${CPACK_RELEASE_EPOCH} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    get_filename_component(name "${package}" NAME)
    set(kept "")
    if(EXISTS "${sums}")
        file(STRINGS "${sums}" lines)
        foreach(line IN LISTS lines)
            if(NOT line MATCHES "  ${name}$")
                string(APPEND kept "${line}\n")
            endif()
        endforeach()
    endif()
    file(SHA256 "${package}" hash)
    file(WRITE "${sums}" "${kept}${hash}  ${name}\n")
endforeach()
