# solve --after AFTER: the recorded TAPE begins with AFTER's keys and wins from the level's start.
execute_process(COMMAND ${TOOL} solve ${LEVEL} --after ${AFTER} --record ${TAPE}
                OUTPUT_VARIABLE solved RESULT_VARIABLE rc)
file(STRINGS ${AFTER} opening REGEX "^keys ")
string(REGEX REPLACE "^keys " "" opening "${opening}")
if(NOT rc EQUAL 0 OR NOT solved MATCHES "\nkeys: ${opening},")
  message(FATAL_ERROR "solve --after (exit ${rc}) does not continue ${opening}: ${solved}")
endif()
execute_process(COMMAND ${TOOL} play ${LEVEL} --tape ${TAPE} OUTPUT_VARIABLE played)
if(NOT played MATCHES "\"result\":\"won\",\"expected\":\"won\"")
  message(FATAL_ERROR "the whole script does not win: ${played}")
endif()
message(STATUS "${solved}")
