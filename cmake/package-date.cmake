# Read by cpack before it writes a package: the files' date, which CPack's
# archives take from SOURCE_DATE_EPOCH.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_COMMIT_EPOCH})
endif()
