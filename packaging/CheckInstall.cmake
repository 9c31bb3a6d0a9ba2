# Installs the build into a scratch prefix and checks the layout: programs in bin/, the
# archive in share/krawlix/ where the installed programs find it, desktop files, icons, the
# copyright file, changelog and manual pages; then into /usr under DESTDIR, where the game
# goes to games/.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
set(expected
    share/krawlix/Krawlix.bfres
    share/applications/net.halvane.Krawlix.desktop
    share/applications/net.halvane.KrawlixEditor.desktop
    share/metainfo/net.halvane.Krawlix.metainfo.xml
    share/metainfo/net.halvane.KrawlixEditor.metainfo.xml
    share/mime/packages/net.halvane.KrawlixEditor.xml
    share/doc/krawlix/copyright
    share/doc/krawlix/changelog.gz)
foreach(program ${PROGRAMS})
  list(APPEND expected bin/${program})
  if(MANUALS)
    if(program STREQUAL "Krawlix")
      list(APPEND expected share/man/man6/${program}.6.gz)
    else()
      list(APPEND expected share/man/man1/${program}.1.gz)
    endif()
  endif()
endforeach()
foreach(size ${SIZES})
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/net.halvane.Krawlix.png
       share/icons/hicolor/${size}x${size}/apps/net.halvane.KrawlixEditor.png)
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# Nothing beside the programs in bin/: the archive must be found through share/krawlix.
file(GLOB stray ${PREFIX}/bin/*.bfres)
if(stray)
  message(FATAL_ERROR "archive installed into bin/: ${stray}")
endif()
# The installed tool draws text in a font that only the archive holds.
execute_process(COMMAND ${PREFIX}/bin/krawlix-tool text 1 "Krawlix" ${PREFIX}/text.png
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/text.png)
  message(FATAL_ERROR "the installed krawlix-tool did not find its archive: ${err}")
endif()

list(FIND PROGRAMS Krawlix game)
if(game GREATER -1)
  set(root ${PREFIX}/destdir)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
                          ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${root}/usr/games/Krawlix OR EXISTS ${root}/usr/bin/Krawlix
     OR NOT EXISTS ${root}/usr/bin/krawlix-tool)
    message(FATAL_ERROR "installed to /usr (${rc}), the game is not in games/ alone")
  endif()
endif()
message(STATUS "installed layout complete under ${PREFIX}")
