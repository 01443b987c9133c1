# Runs the program in a folder without kubix.dat, then with a short one: it must end promptly with a
# failure status and say why, naming the file.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
foreach(content IN ITEMS "" "1,2,3")
    if(content)
        file(WRITE "${WORKDIR}/kubix.dat" "${content}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "${PROGRAM}" WORKING_DIRECTORY "${WORKDIR}"
        TIMEOUT 20 RESULT_VARIABLE status ERROR_VARIABLE err)
    if(status EQUAL 0 OR NOT status MATCHES "^[0-9]+$" OR NOT err MATCHES "kubix.dat")
        message(FATAL_ERROR "expected a failure status and the file named, got '${status}'\n${err}")
    endif()
endforeach()
