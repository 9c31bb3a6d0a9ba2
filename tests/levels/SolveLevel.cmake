# Solves LEVEL with TOOL unless its seed matters (ghosts walk or larvae may hatch them), then
# replays the recorded TAPE, which must win. The compiled level is asked, not its source.
execute_process(COMMAND ${TOOL} level info ${LEVEL} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "level info ${LEVEL} failed: ${rc}")
endif()
if(NOT info MATCHES "\n  seed: +does not matter\n")
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
message(STATUS "solved and replayed: ${solved}")
