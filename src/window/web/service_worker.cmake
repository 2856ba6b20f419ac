# Writes the service worker: the site's files, and a cache name that changes
# whenever one of them does.
#   cmake -DSITE=<folder> -DFILES=<files in it> -DTEMPLATE=<sw.js.in> -P service_worker.cmake
set(digests "")
set(SITE_FILES "'./'")
foreach(file IN LISTS FILES)
    file(SHA256 "${SITE}/${file}" digest)
    string(APPEND digests "${digest}")
    string(APPEND SITE_FILES ", '${file}'")
endforeach()
string(SHA256 SITE_HASH "${digests}")
string(SUBSTRING "${SITE_HASH}" 0 16 SITE_HASH)
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
