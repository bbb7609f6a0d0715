# Run by cpack once the package is made (CPACK_POST_BUILD_SCRIPTS): takes out of each .deb the
# postinst and postrm that call ldconfig for libraries the linker's cache never sees, and builds
# the package again from the same tree, owned by root as before.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    set(path ${tree}/DEBIAN/${script})
    if(EXISTS ${path})
      file(READ ${path} text)
      # Only the scripts CPack made, which do nothing else: what is left without their lines
      # and blanks is empty.
      string(REGEX REPLACE "#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|ldconfig|fi|[ \t\n]"
             "" rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${package}: ${script} does more than call ldconfig:\n${text}")
      endif()
      file(REMOVE ${path})
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz --build ${tree} ${package}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
