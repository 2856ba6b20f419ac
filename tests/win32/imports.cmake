# cmake -DOBJDUMP=... -DPROGRAM=fortpad.exe -P imports.cmake
cmake_minimum_required(VERSION 3.25)
# The program must run from its own folder alone: it may import only DLLs
# that every Windows has.
set(system_dlls KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll msvcrt.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE code)
if(code)
    message(FATAL_ERROR "cannot read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
    message(FATAL_ERROR "no imports found in ${PROGRAM}")
endif()
foreach(line IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${line}")
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "${PROGRAM} imports ${dll}, which Windows does not ship")
    endif()
endforeach()
