# cmake -DVERSION=1,0,0 -DVERSION_TEXT=1.00 -DNAME=... -DPRODUCT_NAME=... -DARCH=amd64|x86 -DWINDRES=...
#       -DINPUT=fortpad.rc|fortpad.exe [-DINCLUDE=dir -DOUT=fortpad.res] -P version_record.cmake
# Reads the resources back from a program file, or from a resource script
# after compiling it, and checks the version record, icon and manifest.
set(compiled ${INPUT})
if(INPUT MATCHES "\\.rc$")
    set(compiled ${OUT})
    execute_process(COMMAND ${WINDRES} --preprocessor=cpp -I ${INCLUDE} ${INPUT} -O res -o ${OUT}
        RESULT_VARIABLE code ERROR_VARIABLE err)
    if(code)
        message(FATAL_ERROR "the resource script does not compile:\n${err}")
    endif()
endif()
execute_process(COMMAND ${WINDRES} -i ${compiled} -O rc OUTPUT_VARIABLE record RESULT_VARIABLE code)
if(code)
    message(FATAL_ERROR "the resources of ${compiled} do not read back")
endif()
string(REPLACE "," ", " version "${VERSION}")
# windres writes non-ASCII text as L"..." with \x escapes: 纯属娱乐 here.
foreach(expected
        "FILEVERSION ${version}, 0"
        "PRODUCTVERSION ${version}, 0"
        "FILETYPE 0x1"
        "VALUE \"FileVersion\", \"${VERSION_TEXT}\""
        "VALUE \"ProductVersion\", \"${VERSION_TEXT}\""
        "VALUE \"ProductName\", L\"${PRODUCT_NAME}(\\x7eaf\\x5c5e\\x5a31\\x4e50)\""
        "VALUE \"InternalName\", \"${NAME}\""
        "VALUE \"OriginalFilename\", \"${NAME}.exe\""
        "VALUE \"CompanyName\""
        "VALUE \"Translation\", 0x804, 1200"
        "RT_ICON"
        "RT_MANIFEST"
        # The program's own architecture; Common Controls 6 for any.
        "processorArchitecture=\"\"${ARCH}\"\"/>"
        "processorArchitecture=\"\"*\"\" publicKeyToken=\"\"6595b64144ccf1df\"\"")
    string(FIND "${record}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "missing from the version record: ${expected}\n${record}")
    endif()
endforeach()
