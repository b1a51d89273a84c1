# Run by the test packaging.install: stage an installation and check it.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
set(expected
  ${DATADIR}/lumidrax/help/Lumidrax3.1_Navod.htm
  ${DATADIR}/applications/lumidrax.desktop
  ${DATADIR}/mime/packages/lumidrax.xml
  ${DATADIR}/icons/hicolor/scalable/apps/lumidrax.svg
  ${DATADIR}/icons/hicolor/scalable/mimetypes/application-x-lumidrax-chart.svg
  ${BINDIR}/lumidrax-tool-archive
  lib/udev/rules.d/60-lumidrax-rfcomm.rules
  ${DATADIR}/metainfo/${APPSTREAM_ID}.metainfo.xml
  ${MANDIR}/man1/lumidrax.1.gz
  ${MANDIR}/man1/lumidrax-tool.1.gz
  ${MANDIR}/man1/lumidrax-tool-render.1.gz
  ${MANDIR}/man1/lumidrax-tool-archive.1.gz
  ${MANDIR}/man1/vkr-sim.1.gz
  ${DATADIR}/doc/lumidrax/copyright
  ${DATADIR}/doc/lumidrax/changelog.gz)
if(EXPECT_PROGRAM)
  list(APPEND expected ${BINDIR}/lumidrax ${BINDIR}/lumidrax-tool-render)
endif()
foreach(f ${expected})
  if(NOT EXISTS ${STAGE}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The help window looks for <program dir>/../share/lumidrax/help.
if(NOT BINDIR STREQUAL "bin" OR NOT DATADIR STREQUAL "share")
  message(WARNING "help is found only with bin/ and share/ below the prefix")
endif()
file(READ ${STAGE}/${DATADIR}/applications/lumidrax.desktop desktop)
foreach(line "Exec=lumidrax %f" "MimeType=application/x-lumidrax-chart;" "Icon=lumidrax")
  string(FIND "${desktop}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()
file(READ ${STAGE}/lib/udev/rules.d/60-lumidrax-rfcomm.rules rules)
foreach(text "KERNEL==\"rfcomm[0-9]*\"" "GROUP=\"dialout\"" "ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
  string(FIND "${rules}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "udev rule lacks ${text}")
  endif()
endforeach()
find_program(XMLLINT xmllint)
if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${STAGE}/${DATADIR}/mime/packages/lumidrax.xml
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lumidrax.xml is not well-formed")
  endif()
endif()
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  # Build the MIME cache of the stage and check the glob of chart files.
  execute_process(COMMAND ${UPDATE_MIME} ${STAGE}/${DATADIR}/mime RESULT_VARIABLE rc)
  file(READ ${STAGE}/${DATADIR}/mime/globs2 globs)
  string(FIND "${globs}" "application/x-lumidrax-chart:*.ndt" at)
  if(NOT rc EQUAL 0 OR at LESS 0)
    message(FATAL_ERROR "the MIME database does not map *.ndt to application/x-lumidrax-chart")
  endif()
endif()
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
  execute_process(COMMAND ${DESKTOP_VALIDATE} ${STAGE}/${DATADIR}/applications/lumidrax.desktop
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop entry does not validate")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                          ${STAGE}/${DATADIR}/metainfo/${APPSTREAM_ID}.metainfo.xml
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the AppStream metadata does not validate")
  endif()
endif()
