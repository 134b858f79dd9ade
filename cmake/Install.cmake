# What "cmake --install" puts where: the programs in bin/, their data (the default dictionary when
# it has been built, the tips) in share/qel/, which the programs find as "beside the program", and
# the desktop entry, icon and file type that let a file manager open dictionaries with QEL.
include(GNUInstallDirs)
install(TARGETS qel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET qel)
  install(TARGETS qel RIDOZAD RAVAZAV RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/qel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/qel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES packaging/qel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME qel.xml)
endif()
install(FILES ${CMAKE_BINARY_DIR}/Tips.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/qel OPTIONAL)
install(FILES ${CMAKE_BINARY_DIR}/Dictionaries/Devuduvodi.qcd
              ${CMAKE_BINARY_DIR}/Dictionaries/Devuduvodi.qcr
        DESTINATION ${CMAKE_INSTALL_DATADIR}/qel/Dictionaries OPTIONAL)
