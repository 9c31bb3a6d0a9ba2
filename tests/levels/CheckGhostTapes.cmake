# Fails when a listed level with ghosts at the start lacks its second tape (NAME.2.tape, another
# seed). The compiled levels in BUILD are asked by TOOL.
file(STRINGS ${DIR}/Levels.lst names)
set(missing)
foreach(name ${names})
  execute_process(COMMAND ${TOOL} level info ${BUILD}/${name}.kxlev OUTPUT_VARIABLE info
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "level info ${name} failed: ${rc}")
  endif()
  if(info MATCHES "\n  ghosts: +[1-9]" AND NOT EXISTS ${DIR}/${name}.2.tape)
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "levels with ghosts but one tape: ${missing}")
endif()
