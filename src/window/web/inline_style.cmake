# Puts the style sheet into the page, so that a phone's first frame waits for
# no second request, and lets the page's security policy allow that one
# style, by its hash.
#   cmake -DPAGE=<page> -DSTYLE=<style sheet> -P inline_style.cmake
file(READ "${STYLE}" style)
# Without its comments, which only its readers need.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/\n?" "" style "${style}")
string(SHA256 digest "${style}")

# The digest in base64, as the policy names it: three bytes (six hex digits)
# to four characters, the last two bytes to three and a "=".
set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
set(hash "")
foreach(start RANGE 0 63 6)
    string(SUBSTRING "${digest}" ${start} 6 group)
    string(LENGTH "${group}" digits)
    math(EXPR value "0x${group} << (24 - 4 * ${digits})")
    math(EXPR characters "(${digits} * 4 + 5) / 6")
    foreach(shift IN ITEMS 18 12 6 0)
        if(characters GREATER 0)
            math(EXPR sextet "(${value} >> ${shift}) & 63")
            string(SUBSTRING "${alphabet}" ${sextet} 1 character)
            string(APPEND hash "${character}")
            math(EXPR characters "${characters} - 1")
        endif()
    endforeach()
endforeach()
string(APPEND hash "=")

file(READ "${PAGE}" page)
string(REPLACE "<!-- style -->" "<style>${style}</style>" page "${page}")
string(REPLACE "@style_hash@" "sha256-${hash}" page "${page}")
file(WRITE "${PAGE}" "${page}")
