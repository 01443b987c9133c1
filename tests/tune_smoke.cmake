# A few tuner steps with fresh seeds mid-run: whatever it writes must load in the game, and a mix it
# does not know is refused before any game is played.
file(MAKE_DIRECTORY "${WORKDIR}")
file(REMOVE "${WORKDIR}/out.dat")
execute_process(COMMAND "${TUNE}" "${DATA}" "${WORKDIR}/out.dat" --steps 2 --refresh 2 --mix fast --threads 1
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err MATCHES "new seeds" OR NOT out MATCHES "forks")
    message(FATAL_ERROR "tune: ${status}\n${out}\n${err}")
endif()
execute_process(COMMAND "${ARENA}" check "${WORKDIR}/out.dat" RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "sound")
    message(FATAL_ERROR "check of the tuned file: ${status} ${out}")
endif()
execute_process(COMMAND "${TUNE}" "${DATA}" "${WORKDIR}/never.dat" --mix everything
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(status EQUAL 0 OR NOT err MATCHES "--mix is" OR EXISTS "${WORKDIR}/never.dat")
    message(FATAL_ERROR "tune took an unknown mix: ${status} ${err}")
endif()
