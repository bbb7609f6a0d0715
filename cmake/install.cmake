# What `cmake --install` lays out: bin/fighost, and every library it loads (the module, its dialog
# toolkit, the host library and fighost's Qt library) in one folder, found through $ORIGIN so that
# the tree works wherever it is unpacked; the desktop entry, the icon and the file types.
set(desktop_files ${CMAKE_SOURCE_DIR}/host/app/desktop)
set_target_properties(fighost PROPERTIES INSTALL_RPATH "$ORIGIN/${FIGHOST_LIBRARIES_FROM_PROGRAM}")
set_target_properties(figure pitools fighost_qt PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS fighost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS figure pitools fighost_qt LIBRARY DESTINATION ${FIGURE_INSTALL_LIBRARIES})
if(TARGET figure_toolkit)
  set_target_properties(figure_toolkit PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS figure_toolkit LIBRARY DESTINATION ${FIGURE_INSTALL_LIBRARIES})
endif()
install(FILES ${desktop_files}/fighost.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_files}/fighost.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop_files}/fighost.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
