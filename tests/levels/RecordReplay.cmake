# The game shell and headless play are one: the keys of TAPE played in the real shell (by
# `shot`, after Enter closes the help text) and recorded there replay with `play --tape` to
# the same creatures and field in the middle of the level, and to the same end. The shell's
# generator has drawn its background first, so ghosts walk as with the recorded seed, not
# TAPE's; with WINS set (a level without chance) the shell wins as TAPE does.
file(STRINGS ${TAPE} keys REGEX "^keys ")
string(REGEX REPLACE "^keys " "" keys "${keys}")
execute_process(COMMAND ${TOOL} play ${LEVEL} --tape ${TAPE} OUTPUT_VARIABLE played)
if(NOT played MATCHES "\"result\":\"won\".*\"timeMs\":([0-9]+)")
  message(FATAL_ERROR "${TAPE} does not win: ${played}")
endif()
set(wonMs ${CMAKE_MATCH_1})
math(EXPR midMs "${wonMs} / 2")
math(EXPR afterMs "${wonMs} + 500")

# Halfway: the recorded tape stops where the shot stopped, with the same state.
execute_process(COMMAND ${TOOL} shot --keys "0:enter,${keys}" --at ${midMs} --record ${WORK}.mid.tape
                        --field -- /level:${LEVEL}
                OUTPUT_VARIABLE shot RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "shot failed (${rc}): ${shot}")
endif()
execute_process(COMMAND ${TOOL} play ${LEVEL} --tape ${WORK}.mid.tape --field OUTPUT_VARIABLE replay)
file(STRINGS ${WORK}.mid.tape until REGEX "^until ")
string(REGEX REPLACE "^until " "" until "${until}")
if(NOT replay MATCHES "\"asExpected\":true,\"timeMs\":${until},")
  message(FATAL_ERROR "the halfway tape does not replay to ${until} ms: ${replay}")
endif()
string(REGEX REPLACE "^\\{\"result\":[^{]*\"timeMs\":[0-9]+," "{" replay "${replay}")
string(REGEX REPLACE "\"sounds\":\\[[^]]*\\]," "" replay "${replay}")
if(NOT replay STREQUAL shot)
  message(FATAL_ERROR "the replay differs from the shell at ${midMs} ms:\nshell:  ${shot}\nreplay: ${replay}")
endif()

# Past the end: the tape ends where the level did, won.
execute_process(COMMAND ${TOOL} shot --keys "0:enter,${keys}" --at ${afterMs}
                        --record ${WORK}.end.tape -- /level:${LEVEL} RESULT_VARIABLE rc)
execute_process(COMMAND ${TOOL} play ${LEVEL} --tape ${WORK}.end.tape OUTPUT_VARIABLE replay)
file(STRINGS ${WORK}.end.tape until REGEX "^until ")
string(REGEX REPLACE "^until " "" until "${until}")
if(NOT replay MATCHES "\"asExpected\":true,\"timeMs\":${until},")
  message(FATAL_ERROR "the whole tape does not replay to its end at ${until} ms: ${replay}")
endif()
if(WINS AND NOT replay MATCHES "^[{]\"result\":\"won\".*\"timeMs\":${wonMs},")
  message(FATAL_ERROR "the shell does not win at ${wonMs} ms as the tape does: ${replay}")
endif()
message(STATUS "shell and replay agree at ${midMs} ms and at the end: ${replay}")
