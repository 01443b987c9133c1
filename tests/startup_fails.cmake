# Runs the program in a folder without kubix.dat and checks that it fails promptly and says why.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
foreach(content IN ITEMS "" "1,2,3")
    if(NOT content STREQUAL "")
        file(WRITE "${WORKDIR}/kubix.dat" "${content}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "${PROGRAM}"
        WORKING_DIRECTORY "${WORKDIR}" TIMEOUT 20
        RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_VARIABLE out)
    if(status EQUAL 0 OR NOT status MATCHES "^[0-9]+$")
        message(FATAL_ERROR "expected a failure exit status, got '${status}'\n${err}")
    endif()
    if(NOT err MATCHES "kubix.dat")
        message(FATAL_ERROR "standard error does not name the data file:\n${err}")
    endif()
    message(STATUS "exit ${status}: ${err}")
endforeach()
