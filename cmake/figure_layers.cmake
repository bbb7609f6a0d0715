# The module's libraries, one per folder, and the rule that keeps them in layers: a folder's
# sources may include headers of their own folder, of the folders the library is declared to use,
# and the host's declarations, and nothing else. scripts/check-includes checks it before each
# library is compiled, so that a header included from a folder above fails the build at once.

# Every folder may use the host's declarations: the plug-in library's functions and the records
# of its protocol. They stand in plugin/ with the plug-in that answers the host, but belong to no
# layer of the module's own.
set(FIGURE_HOST_DECLARATIONS plugin/host_library.h plugin/host_protocol.h)
add_library(figure_host_declarations INTERFACE)
target_include_directories(figure_host_declarations INTERFACE ${CMAKE_SOURCE_DIR})
target_link_libraries(figure_host_declarations INTERFACE pitools)

# The libraries figure_layer made, bottom first.
set(FIGURE_LAYER_TARGETS "" CACHE INTERNAL "")

# figure_check_includes(<folder> <target> [<allowed>...])
# Checks, before <target> is built, that <folder>'s sources include headers of no project folder
# but their own and the allowed folders and headers.
function(figure_check_includes folder target)
  file(GLOB checked CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  string(REPLACE "/" "_" stamp ${folder})
  set(stamp ${CMAKE_BINARY_DIR}/layers/${stamp}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-includes ${CMAKE_SOURCE_DIR} ${folder} ${ARGN}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${checked} ${CMAKE_SOURCE_DIR}/scripts/check-includes
    COMMENT "Checking what ${folder}/ includes"
    VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()

# figure_layer(<folder> [TARGET <target>] [SOURCES <file>...] [USES <target>...]
#              [NO_HOST_DECLARATIONS])
# Makes a static library of <folder>/*.cpp (or of SOURCES), named figure_<folder> unless TARGET
# names it, linking the host's declarations (unless NO_HOST_DECLARATIONS) and each library USES
# names, and checks <folder>'s includes against those libraries' folders.
function(figure_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "NO_HOST_DECLARATIONS" "TARGET" "SOURCES;USES")
  if(NOT LAYER_TARGET)
    set(LAYER_TARGET figure_${folder})
  endif()
  if(NOT LAYER_SOURCES)
    file(GLOB LAYER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  endif()
  add_library(${LAYER_TARGET} STATIC ${LAYER_SOURCES})
  target_include_directories(${LAYER_TARGET} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${LAYER_TARGET} PUBLIC ${LAYER_USES})
  set(allowed)
  if(NOT LAYER_NO_HOST_DECLARATIONS)
    target_link_libraries(${LAYER_TARGET} PUBLIC figure_host_declarations)
    set(allowed ${FIGURE_HOST_DECLARATIONS})
  endif()

  # The folders it may include from besides its own: each used library's.
  foreach(used IN LISTS LAYER_USES)
    get_target_property(used_folder ${used} FIGURE_FOLDER)
    list(APPEND allowed ${used_folder})
  endforeach()
  set_target_properties(${LAYER_TARGET} PROPERTIES FIGURE_FOLDER ${folder}
                        FIGURE_USES "${LAYER_USES}")

  figure_check_includes(${folder} ${LAYER_TARGET} ${allowed})

  set(FIGURE_LAYER_TARGETS ${FIGURE_LAYER_TARGETS} ${LAYER_TARGET} CACHE INTERNAL "")
endfunction()
