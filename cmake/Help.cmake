# Compiled help files from HTML sources with chmcmd (fp-utils).
#
# cadconv_chm(TARGET target NAME Name.chm OUTPUT_DIR dir HHP project.hhp
#             SOURCES page.htm ... [INSTALL])
# builds dir/Name.chm whenever the project or a source changes; with INSTALL
# `cmake --install` puts it into the system's data folder
# (cmake/Install.cmake). The files
# are named relative to the project file, as chmcmd reads them. A missing
# source, or a failing chmcmd (it answers 217 for a missing file and
# leaves an empty .chm behind), fails the build and leaves no .chm.
#
# Included in script mode (cmake -P) it is the build step itself.

if(CMAKE_SCRIPT_MODE_FILE)
  # -DCHMCMD= -DHHP= -DOUTPUT= -DSTAGING=
  file(REMOVE_RECURSE "${STAGING}")
  file(MAKE_DIRECTORY "${STAGING}")
  file(REMOVE "${OUTPUT}")
  execute_process(COMMAND "${CHMCMD}" "${HHP}" WORKING_DIRECTORY "${STAGING}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(GLOB produced "${STAGING}/*.chm")
  list(LENGTH produced count)
  set(size 0)
  if(count EQUAL 1)
    file(SIZE "${produced}" size)
  endif()
  if(NOT result EQUAL 0 OR NOT count EQUAL 1 OR size EQUAL 0)
    file(REMOVE_RECURSE "${STAGING}")
    message(FATAL_ERROR "chmcmd failed on ${HHP} (exit ${result}):\n${out}")
  endif()
  file(RENAME "${produced}" "${OUTPUT}")
  file(REMOVE_RECURSE "${STAGING}")
  return()
endif()

set(_cadconv_help_script ${CMAKE_CURRENT_LIST_FILE})

function(cadconv_chm)
  cmake_parse_arguments(C "INSTALL" "TARGET;NAME;OUTPUT_DIR;HHP" "SOURCES" ${ARGN})
  find_program(CHMCMD chmcmd REQUIRED)
  get_filename_component(hhp "${C_HHP}" ABSOLUTE)
  get_filename_component(base "${hhp}" DIRECTORY)
  set(sources)
  foreach(source ${C_SOURCES})
    get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${base}")
    list(APPEND sources "${path}")
  endforeach()
  set(output "${C_OUTPUT_DIR}/${C_NAME}")
  add_custom_command(OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DHHP=${hhp} -DOUTPUT=${output}
            -DSTAGING=${CMAKE_CURRENT_BINARY_DIR}/${C_TARGET}.staging -P ${_cadconv_help_script}
    DEPENDS "${hhp}" ${sources} ${_cadconv_help_script}
    COMMENT "Compiling help file ${C_NAME}"
    VERBATIM)
  add_custom_target(${C_TARGET} ALL DEPENDS "${output}")
  if(C_INSTALL)
    cadconv_install_data("${output}")
  endif()
endfunction()
