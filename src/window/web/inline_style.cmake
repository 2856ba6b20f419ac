# Puts the style sheet, minified by esbuild, into the page, so that a phone's
# first frame waits for no second request, and lets the page's security
# policy allow that one style by its SHA-256 in base64, which openssl gives.
#   cmake -DPAGE=<page> -DSTYLE=<style sheet> -DESBUILD=<esbuild> -DOPENSSL=<openssl> -P inline_style.cmake
execute_process(COMMAND ${ESBUILD} --loader=css --minify --log-level=warning INPUT_FILE ${STYLE}
    OUTPUT_VARIABLE style OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${STYLE}.min" "${style}")
execute_process(COMMAND ${OPENSSL} dgst -sha256 -binary ${STYLE}.min COMMAND ${OPENSSL} base64 -A
    OUTPUT_VARIABLE hash COMMAND_ERROR_IS_FATAL ANY)
file(READ "${PAGE}" page)
string(REPLACE "<!-- style -->" "<style>${style}</style>" page "${page}")
string(REPLACE "@style_hash@" "sha256-${hash}" page "${page}")
file(WRITE "${PAGE}" "${page}")
