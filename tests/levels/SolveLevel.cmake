# Solves LEVEL with TOOL unless its seed matters (ghosts walk or larvae may hatch them), then
# replays the recorded TAPE, which must win. The compiled level is asked, not its source.
# OWN is the level's own tape, the intended route: the solver's shortest answer needs at least
# 60 % of its keys, else a shortcut skips the level's idea. The answer's JSON is kept in RESULT
# for the test of the set's difficulty.
execute_process(COMMAND ${TOOL} level info ${LEVEL} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "level info ${LEVEL} failed: ${rc}")
endif()
if(NOT info MATCHES "\n  seed: +does not matter\n")
  file(REMOVE ${RESULT})
  message(STATUS "skipped: the seed matters in ${LEVEL}")
  return()
endif()
execute_process(COMMAND ${TOOL} solve ${LEVEL} --max-seconds 600 --record ${TAPE} --json
                OUTPUT_VARIABLE solved RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT solved MATCHES "^\\{\"result\":\"solved\".*\"ghosts\":false")
  message(FATAL_ERROR "solve ${LEVEL} (exit ${rc}): ${solved}")
endif()
execute_process(COMMAND ${TOOL} play ${LEVEL} --tape ${TAPE} OUTPUT_VARIABLE played
                RESULT_VARIABLE rc)
if(NOT played MATCHES "\"result\":\"won\",\"expected\":\"won\"")
  message(FATAL_ERROR "the solver's tape does not win ${LEVEL} (exit ${rc}): ${played}")
endif()
string(JSON solverKeys GET "${solved}" keyCount)
file(STRINGS ${OWN} ownKeys REGEX "^keys ")
string(REGEX MATCHALL "[0-9]+:[a-z]+" ownKeys "${ownKeys}")
list(LENGTH ownKeys ownCount)
math(EXPR least "(${ownCount} * 6 + 9) / 10")
if(solverKeys LESS least)
  message(FATAL_ERROR "a shortcut: the solver wins ${LEVEL} with ${solverKeys} keys, the tape "
                      "${OWN} needs ${ownCount} (at least ${least} expected)")
endif()
file(WRITE ${RESULT} "${solved}")
message(STATUS "solved with ${solverKeys} keys against the tape's ${ownCount}: ${solved}")
