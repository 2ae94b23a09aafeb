# Where `cmake --install` lays the system out under the prefix
# (GNUInstallDirs): the programs in bin/, the shared libraries they load in
# lib/, the server modules in a folder of their own under lib/ (so that
# regsvr can be run on each file there), the help file and the built-in
# catalog in a folder of their own under share/. Every RPATH is relative to
# the file's own folder ($ORIGIN): the installed tree runs wherever it lies
# and never reaches back into the build.
include(GNUInstallDirs)

set(CADCONV_INSTALL_NAME cadconversion)
set(CADCONV_INSTALL_MODULEDIR ${CMAKE_INSTALL_LIBDIR}/${CADCONV_INSTALL_NAME})
set(CADCONV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/${CADCONV_INSTALL_NAME})

# The path from one install folder to another, both relative to the prefix
# (or absolute); "." for the same folder.
function(cadconv_install_relative out from to)
  foreach(dir from to)
    if(IS_ABSOLUTE "${${dir}}")
      set(${dir}_full "${${dir}}")
    else()
      set(${dir}_full "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
  endforeach()
  file(RELATIVE_PATH relative "${from_full}" "${to_full}")
  string(REGEX REPLACE "/$" "" relative "${relative}")
  if(relative STREQUAL "")
    set(relative ".")
  endif()
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()

# The data folder as seen from the programs' folder: the installed wizard
# looks for its help file there.
cadconv_install_relative(CADCONV_DATADIR_FROM_BINDIR ${CMAKE_INSTALL_BINDIR} ${CADCONV_INSTALL_DATADIR})

# Installs TARGET into DESTINATION with an RPATH that finds the shared
# libraries of the install.
function(cadconv_install_target target destination)
  cadconv_install_relative(libdir ${destination} ${CMAKE_INSTALL_LIBDIR})
  if(libdir STREQUAL ".")
    set(rpath "$ORIGIN")
  else()
    set(rpath "$ORIGIN/${libdir}")
  endif()
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "${rpath}")
  install(TARGETS ${target} RUNTIME DESTINATION ${destination} LIBRARY DESTINATION ${destination})
endfunction()

# cadconv_install_binaries(PROGRAMS target... LIBRARIES target...): the
# programs a user runs and the shared libraries they and the server modules
# load. A target of a component not in the tree is skipped.
function(cadconv_install_binaries)
  cmake_parse_arguments(I "" "" "PROGRAMS;LIBRARIES" ${ARGN})
  set(destination_PROGRAMS ${CMAKE_INSTALL_BINDIR})
  set(destination_LIBRARIES ${CMAKE_INSTALL_LIBDIR})
  foreach(kind PROGRAMS LIBRARIES)
    foreach(target ${I_${kind}})
      if(TARGET ${target})
        cadconv_install_target(${target} ${destination_${kind}})
      endif()
    endforeach()
  endforeach()
endfunction()

# cadconv_install_data(file...): files of the system's data folder.
function(cadconv_install_data)
  install(FILES ${ARGN} DESTINATION ${CADCONV_INSTALL_DATADIR})
endfunction()
