# cadconv_resources(TARGET TYPE ID FILE [TYPE ID FILE]...)
# Embeds each FILE into TARGET (a server module or a program linking
# comserver) as the resource TYPE/ID of that module's resource table, e.g.
#   cadconv_resources(halcyra REGISTRY 101 src/CADPart.rgs REGISTRY 146 src/CADPart2.rgs)
# The file is read at build time: editing it rebuilds the module.
function(cadconv_resources target)
  set(args ${ARGN})
  list(LENGTH args count)
  math(EXPR rest "${count} % 3")
  if(count EQUAL 0 OR NOT rest EQUAL 0)
    message(FATAL_ERROR "cadconv_resources(${target}): expected TYPE ID FILE triples, got: ${ARGN}")
  endif()
  set(embed ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedResource.cmake)
  while(args)
    list(POP_FRONT args type id file)
    if(NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "cadconv_resources(${target}): resource id '${id}' is not a number")
    endif()
    get_filename_component(input ${file} ABSOLUTE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/resources/${target}_${type}_${id}.cpp)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DTYPE=${type} -DID=${id}
              -P ${embed}
      DEPENDS ${input} ${embed}
      COMMENT "Embedding ${file} as ${type} ${id}"
      VERBATIM)
    target_sources(${target} PRIVATE ${output})
  endwhile()
endfunction()
