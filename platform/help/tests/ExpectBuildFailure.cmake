# Configures and builds the project in SOURCE into BINARY and succeeds only
# when the build fails and leaves no OUTPUT behind.
file(REMOVE_RECURSE "${BINARY}")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE}" -B "${BINARY}" -DHELP_CMAKE=${HELP_CMAKE}
                RESULT_VARIABLE configured OUTPUT_QUIET)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "the project did not configure")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BINARY}" RESULT_VARIABLE built
                OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(built EQUAL 0)
  message(FATAL_ERROR "the build succeeded although a help source is missing")
endif()
if(EXISTS "${OUTPUT}")
  message(FATAL_ERROR "a failed build left ${OUTPUT}")
endif()
if(NOT log MATCHES "chmcmd failed")
  message(FATAL_ERROR "the failure does not name chmcmd:\n${log}")
endif()
