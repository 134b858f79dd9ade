# What a Linux desktop expects beside the programs: a manual page for each one, the bash completion
# of qel-cli and the AppStream metadata of the window program.
#
# help2man makes each page from the program's own --help and --version output, with the sections
# the help text does not hold taken from packaging/man/PROGRAM.h2m, so the help and the page say
# the same: build/man/PROGRAM.1, and build/man/PROGRAM.1.gz to install. The page is made again
# whenever its program or its .h2m file changes. Without help2man no page is made or installed.
include(GNUInstallDirs)

find_program(QEL_HELP2MAN help2man)
find_program(QEL_GZIP gzip)
if(QEL_HELP2MAN AND QEL_GZIP)
  set(qel_man_programs qel-cli)
  if(TARGET qel)
    list(APPEND qel_man_programs qel RIDOZAD RAVAZAV)
  endif()
  set(qel_man_folder ${CMAKE_BINARY_DIR}/man)
  set(qel_man_pages)
  foreach(program IN LISTS qel_man_programs)
    set(sections ${CMAKE_SOURCE_DIR}/packaging/man/${program}.h2m)
    set(page ${qel_man_folder}/${program}.1)
    # The window programs answer --help without a display; offscreen keeps it so wherever the
    # build runs.
    add_custom_command(
      OUTPUT ${page} ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${qel_man_folder}
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${QEL_HELP2MAN} --no-info --include ${sections} --output ${page}
              $<TARGET_FILE:${program}>
      COMMAND ${QEL_GZIP} -9n --keep --force ${page}
      DEPENDS ${program} ${sections}
      COMMENT "Making the manual page of ${program}"
      VERBATIM)
    list(APPEND qel_man_pages ${page}.gz)
  endforeach()
  add_custom_target(man-pages ALL DEPENDS ${qel_man_pages})
  install(FILES ${qel_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man or gzip not found: no manual pages")
endif()

install(FILES packaging/qel-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qel-cli)

if(TARGET qel)
  install(FILES packaging/io.github.qelwords.qel.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
