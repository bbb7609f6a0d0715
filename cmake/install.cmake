# What `cmake --install` lays out: bin/fighost, and every library it loads (the module, its dialog
# toolkit, the host library and fighost's Qt library) in one folder, found through $ORIGIN so that
# the tree works wherever it is unpacked; the desktop entry, the icon, the file types and the
# thumbnailer; the manual page, the licence, the change log and the software-centre entry.
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
install(FILES ${desktop_files}/fighost.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# Who answers for the package, and the software centres' name for fighost (reverse domain name).
set(FIGHOST_CONTACT "Figure module maintainers <maintainers@users.noreply.c-seed-1e86646b.example>")
set(FIGHOST_APPSTREAM_ID example.c_seed_1e86646b.fighost)
set(FIGHOST_HOMEPAGE "https://c-seed-1e86646b.example/fighost" CACHE STRING
    "fighost's web page, where software centres find its screenshot (fighost-window.png)")

# The documents beside the program: the licence in Debian's machine-readable copyright format,
# made from LICENSE; the change log and the README compressed as Debian wants them; the manual
# page, made from fighost's own --help once fighost is built; the software-centre entry.
set(documents ${CMAKE_BINARY_DIR}/package)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${licence}")
set(FIGHOST_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" licence_start)
if(FIGHOST_COPYRIGHT STREQUAL "" OR licence_start EQUAL -1)
  message(FATAL_ERROR "LICENSE has no copyright line or no permission notice")
endif()
string(SUBSTRING "${licence}" ${licence_start} -1 licence)
string(STRIP "${licence}" licence)
# One space before each line, a lone dot for an empty one.
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " FIGHOST_LICENSE_TEXT " ${licence}")
configure_file(${desktop_files}/copyright.in ${documents}/copyright @ONLY)

file(STRINGS ${desktop_files}/changelog changelog_date REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "[0-9][0-9]? [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9]" changelog_date "${changelog_date}")
string(REGEX REPLACE "^([0-9]+) .*" "\\1" day "${changelog_date}")
string(REGEX REPLACE ".* ([0-9]+)$" "\\1" year "${changelog_date}")
string(REGEX REPLACE "^[0-9]+ ([A-Za-z]+) .*" "\\1" month "${changelog_date}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${month}" month)
math(EXPR month "${month} + 1")
if(month LESS 10)
  set(month 0${month})
endif()
if(day LESS 10)
  set(day 0${day})
endif()
set(FIGHOST_RELEASE_DATE ${year}-${month}-${day})
configure_file(${desktop_files}/fighost.metainfo.xml.in
               ${documents}/${FIGHOST_APPSTREAM_ID}.metainfo.xml @ONLY)

find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(manual_maker ${CMAKE_SOURCE_DIR}/cmake/fighost-manual)
add_custom_command(OUTPUT ${documents}/fighost.1.gz
  COMMAND ${manual_maker} $<TARGET_FILE:fighost> ${PROJECT_VERSION} ${FIGHOST_RELEASE_DATE}
          ${documents}/fighost.1
  COMMAND ${GZIP_EXECUTABLE} -9nf ${documents}/fighost.1
  DEPENDS fighost ${manual_maker}
  COMMENT "Writing fighost's manual page from its --help")
add_custom_command(OUTPUT ${documents}/changelog.gz ${documents}/README.md.gz
  COMMAND ${GZIP_EXECUTABLE} -9nc ${desktop_files}/changelog > ${documents}/changelog.gz
  COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_SOURCE_DIR}/README.md > ${documents}/README.md.gz
  DEPENDS ${desktop_files}/changelog ${CMAKE_SOURCE_DIR}/README.md)
add_custom_target(fighost_documents ALL
  DEPENDS ${documents}/fighost.1.gz ${documents}/changelog.gz ${documents}/README.md.gz)

install(FILES ${documents}/${FIGHOST_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${documents}/fighost.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${documents}/copyright ${documents}/changelog.gz ${documents}/README.md.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/fighost)
