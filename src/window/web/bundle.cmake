# Writes the page's script as one file from its modules, which it lists in
# an order where each comes after those it imports: one request for the
# page rather than one for each module, and without the comments and the
# indentation, which only its readers need (no string spans lines). The modules share one scope, so no two of them
# declare the same name; only the last one's exports remain.
#   cmake -DOUT=<script> "-DMODULES=<module;...>" -P bundle.cmake
set(bundle "")
list(GET MODULES -1 main)
foreach(module IN LISTS MODULES)
    file(READ "${module}" text)
    string(REGEX REPLACE "(^|\n)import [^\n]*\n" "\\1" text "${text}")
    string(REGEX REPLACE "(^|\n)[ ]*//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "\n[ ]+" "\n" text "${text}")
    string(REGEX REPLACE "(^|\n)export \\{([^}]*)\\} from [^\n]*" "\\1export {\\2};" text "${text}")
    if(NOT module STREQUAL main)
        string(REGEX REPLACE "(^|\n)export " "\\1" text "${text}")
    endif()
    string(APPEND bundle "${text}\n")
endforeach()
file(WRITE "${OUT}" "${bundle}")
