# The careless opening TRAP leaves LEVEL unwinnable: solve --after searches every state that
# follows it and exits 4.
execute_process(COMMAND ${TOOL} solve ${LEVEL} --after ${TRAP} OUTPUT_VARIABLE solved
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 4 OR NOT solved MATCHES "^result: unwinnable\n")
  message(FATAL_ERROR "${TRAP} is no proven trap (exit ${rc}): ${solved}")
endif()
message(STATUS "${solved}")
