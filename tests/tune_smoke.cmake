# A few tuner steps: whatever it writes must load in the game, and panels that share an opponent
# (selection not held out from training) are refused before anything is written.
file(MAKE_DIRECTORY "${WORKDIR}")
file(REMOVE "${WORKDIR}/out.dat" "${WORKDIR}/never.dat")
execute_process(COMMAND "${TUNE}" "${DATA}" --out "${WORKDIR}/out.dat" --steps 3 --population 2 --batch 10 --batches 2
    --select-games 10 --select-every 1 --refresh 2 --threads 1 --train "heuristics,greedy" --select "forks"
    RESULT_VARIABLE status ERROR_VARIABLE err)
execute_process(COMMAND "${ARENA}" check "${WORKDIR}/out.dat" RESULT_VARIABLE checked OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT err MATCHES "written" OR NOT err MATCHES "fresh games" OR NOT checked EQUAL 0)
    message(FATAL_ERROR "tune: ${status}\n${err}\ncheck: ${out}")
endif()
# The climber likewise, through a change of window and a hop.
execute_process(COMMAND "${CLIMB}" "${DATA}" --out "${WORKDIR}/climb.dat" --steps 4 --games 10 --window 2 --hop 1
    --select-games 10 --threads 1 --train "forks,greedy" --select "heuristics" RESULT_VARIABLE status ERROR_VARIABLE err)
execute_process(COMMAND "${ARENA}" check "${WORKDIR}/climb.dat" RESULT_VARIABLE checked OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT err MATCHES "window 1" OR NOT err MATCHES "kick: .*hop 2" OR NOT checked EQUAL 0)
    message(FATAL_ERROR "climb: ${status}\n${err}\ncheck: ${out}")
endif()
execute_process(COMMAND "${TUNE}" "${DATA}" --out "${WORKDIR}/never.dat" --train "forks,greedy" --select "forks"
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(status EQUAL 0 OR NOT err MATCHES "on both panels" OR EXISTS "${WORKDIR}/never.dat")
    message(FATAL_ERROR "tune took overlapping panels: ${status} ${err}")
endif()
