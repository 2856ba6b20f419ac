# cmake -DWINDRES=... -DRC=... -DOUT=... -P version_record.cmake
# Compiles the Windows resource script, reads the record back and checks it.
execute_process(COMMAND ${WINDRES} --preprocessor=cpp ${RC} -O res -o ${OUT} RESULT_VARIABLE code ERROR_VARIABLE err)
if(code)
    message(FATAL_ERROR "the resource script does not compile:\n${err}")
endif()
execute_process(COMMAND ${WINDRES} -i ${OUT} -O rc OUTPUT_VARIABLE record RESULT_VARIABLE code)
if(code)
    message(FATAL_ERROR "the compiled resources do not read back")
endif()
# windres writes non-ASCII text as L"..." with \x escapes: 纯属娱乐 here.
foreach(expected
        "FILEVERSION 1, 0, 0, 0"
        "PRODUCTVERSION 1, 0, 0, 0"
        "FILETYPE 0x1"
        "VALUE \"FileVersion\", \"1.00\""
        "VALUE \"ProductVersion\", \"1.00\""
        "VALUE \"ProductName\", L\"Orvantil(\\x7eaf\\x5c5e\\x5a31\\x4e50)\""
        "VALUE \"InternalName\", \"fortpad\""
        "VALUE \"OriginalFilename\", \"fortpad.exe\""
        "VALUE \"CompanyName\""
        "VALUE \"Translation\", 0x804, 1200"
        "RT_ICON")
    string(FIND "${record}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "missing from the version record: ${expected}\n${record}")
    endif()
endforeach()
