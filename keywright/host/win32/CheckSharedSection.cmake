# Checks keywright.dll as other processes see it: a section "Shared" that is writable
# data shared by every process, and the five exports under their plain names.
#   cmake -DOBJDUMP=objdump -DDLL=keywright.dll -P CheckSharedSection.cmake
execute_process(COMMAND ${OBJDUMP} -h ${DLL} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump -h failed on ${DLL}")
endif()
# objdump prints the section line, then a line with its flags.
string(REGEX MATCH "[ \t]Shared[ \t][^\n]*\n[^\n]*" section "${headers}")
if(NOT section)
    message(FATAL_ERROR "no section Shared in ${DLL}:\n${headers}")
endif()
if(NOT section MATCHES "DATA" OR NOT section MATCHES "SHARED" OR section MATCHES "READONLY")
    message(FATAL_ERROR "section Shared is not writable shared data:\n${section}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE details RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump -p failed on ${DLL}")
endif()
foreach(name SetCorvidHook VelmaraWndProc VelmaraTreeCtrlProc VelmaraListCtrlProc SplitterWndProc)
    if(NOT details MATCHES "\\] ${name}\n")
        message(FATAL_ERROR "${DLL} does not export ${name} under its plain name")
    endif()
endforeach()
