# The bench programs: a short climb through a change of window and a hop, its family played as kept
# members weighed by their losses, writes a table the game loads; --help prints the usage; a bad
# argument is refused with exit status 2, named in the message; arena takes a range of members.
file(MAKE_DIRECTORY "${WORKDIR}")
file(REMOVE "${WORKDIR}/climb.dat")
execute_process(COMMAND "${CLIMB}" "${DATA}" --out "${WORKDIR}/climb.dat" --steps 4 --games 10 --window 2 --hop 1
    --select-games 10 --threads 1 --train "forklevel,greedy" --members 2 --keep 2 --holes 1 --select "heuristics" RESULT_VARIABLE status ERROR_VARIABLE err)
execute_process(COMMAND "${ARENA}" check "${WORKDIR}/climb.dat" RESULT_VARIABLE checked OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT err MATCHES "window 1" OR NOT err MATCHES "kick: .*hop 2" OR NOT checked EQUAL 0)
    message(FATAL_ERROR "climb: ${status}\n${err}\ncheck: ${out}")
endif()
# With a margin that takes any child, --each 0 still refuses those some opponent finds worse.
foreach(each IN ITEMS -1 0)
    execute_process(COMMAND "${CLIMB}" "${DATA}" --out "${WORKDIR}/each.dat" --steps 40 --games 60 --window 10
        --margin -3 --each ${each} --select-games 10 --threads 1 --train "forklevel,greedy" --members 3
        --select "heuristics" --seed 7 --steer 0.5 ERROR_VARIABLE err)
    string(REGEX MATCH "kept ([0-9]+)" found "${err}")
    list(APPEND kept "${CMAKE_MATCH_1}")
endforeach()
list(GET kept 0 all)
list(GET kept 1 refused)
if(NOT refused LESS all)
    message(FATAL_ERROR "climb --each 0 kept ${refused} children, as many as without it (${all})")
endif()
foreach(case IN ITEMS
        "ARENA|play;${DATA};--games;12x|--games takes a whole number"
        "ARENA|timing;${DATA};--games;5|'--games' is not an option of timing"
        "ARENA|play;${DATA};--opponents;forks,forklevel#9-3|bad member range: forklevel#9-3"
        "CLIMB|${DATA};--out;${WORKDIR}/never.dat;--train;forks;--select;forks|on both panels")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 program)
    list(POP_FRONT parts)
    list(POP_BACK parts expected)
    execute_process(COMMAND "${${program}}" ${parts} RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 2 OR NOT err MATCHES "${expected}" OR NOT err MATCHES "usage:" OR EXISTS "${WORKDIR}/never.dat")
        message(FATAL_ERROR "${program} ${parts}: expected status 2 and '${expected}', got ${status}\n${err}")
    endif()
endforeach()
execute_process(COMMAND "${ARENA}" play "${DATA}" --games 1 --threads 1 --opponents "searchers#4-5"
    RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "searchers#4 " OR NOT out MATCHES "searchers#5 ")
    message(FATAL_ERROR "arena play with a member range: ${status}\n${out}")
endif()
foreach(program IN ITEMS ARENA CLIMB)
    execute_process(COMMAND "${${program}}" --help RESULT_VARIABLE status OUTPUT_VARIABLE out)
    if(NOT status EQUAL 0 OR NOT out MATCHES "^usage:")
        message(FATAL_ERROR "${program} --help: ${status}\n${out}")
    endif()
endforeach()
