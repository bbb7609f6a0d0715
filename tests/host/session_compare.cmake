# Runs one host session (figsession) with the Linux build and with the Windows build on the same
# figure, and checks that both print the same summary and save the same .fig, byte for byte.
#   cmake -DLINUX_SESSION=... -DLINUX_MODULE=... -DWINDOWS_SESSION=... -DWINDOWS_MODULE=...
#         -DEMULATOR=... -DFIGURE=.../human.bvh -DOUT=dir -P session_compare.cmake
# Without the Linux build there is nothing to compare with: the test says so and is skipped.
foreach(program IN ITEMS "${LINUX_SESSION}" "${LINUX_MODULE}")
  if(NOT EXISTS "${program}")
    message(STATUS "Skipped: ${program} is missing: build the Linux preset (default) first")
    return()
  endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}/linux" "${OUT}/windows")

execute_process(COMMAND "${LINUX_SESSION}" "${LINUX_MODULE}" "${FIGURE}" "${OUT}/linux/human"
                OUTPUT_FILE "${OUT}/linux/summary.txt" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the Linux session failed (${status})")
endif()

# The Windows session gets Windows paths: a drive letter and backslashes.
function(windows_path path out)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
windows_path("${FIGURE}" figure)
windows_path("${OUT}/windows/human" output)
separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")
execute_process(COMMAND ${emulator} "${WINDOWS_SESSION}" "${WINDOWS_MODULE}" "${figure}" "${output}"
                OUTPUT_FILE "${OUT}/windows/summary.txt" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the Windows session failed (${status})")
endif()

file(READ "${OUT}/linux/summary.txt" linux_summary)
file(READ "${OUT}/windows/summary.txt" windows_summary)
message(STATUS "Windows session:\n${windows_summary}")
if(NOT linux_summary STREQUAL windows_summary)
  message(FATAL_ERROR "the summaries differ; Linux:\n${linux_summary}")
endif()
if(NOT linux_summary MATCHES "exports found: 26 of 26\n.*save: 1\nFigLoad: 1\n"
   OR linux_summary MATCHES "error:")
  message(FATAL_ERROR "the session did not run through")
endif()
file(SHA256 "${OUT}/linux/human.fig" linux_fig)
file(SHA256 "${OUT}/windows/human.fig" windows_fig)
if(NOT linux_fig STREQUAL windows_fig)
  message(FATAL_ERROR "the saved .fig files differ: ${OUT}/linux/human.fig ${OUT}/windows/human.fig")
endif()
file(SIZE "${OUT}/windows/human.fig" size)
message(STATUS "summaries equal; saved .fig files equal (${size} bytes)")
