# Runs the console commands of the launcher with the dynamic loader reporting every library it
# loads, and fails when the toolkit, or a library that only costs start-up time there (the ZIP
# library and its own, the vector library's timer calibration), is among them.
# Usage: cmake -DVELQUIN=<launcher> -DWORK_DIR=<dir> -P NoToolkitTest.cmake
file(MAKE_DIRECTORY ${WORK_DIR})
foreach(arguments IN ITEMS "--help" "--export;${WORK_DIR}/out.png;${WORK_DIR}/missing.cnf")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=libs ${VELQUIN} ${arguments}
                    OUTPUT_QUIET ERROR_VARIABLE loads)
    if(NOT loads MATCHES "libc\\.so")
        message(FATAL_ERROR "velquin ${arguments}: the loader reported nothing:\n${loads}")
    endif()
    string(REGEX MATCH "[^ \n]*lib(wx|gtk|gdk|archive|hwy)[^ \n]*" toolkit "${loads}")
    if(toolkit)
        message(FATAL_ERROR "velquin ${arguments} loads ${toolkit}")
    endif()
endforeach()
