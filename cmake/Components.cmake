# Helpers shared by every component's CMakeLists.

include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)

# cadconv_test(NAME SOURCES src... LIBS lib...)
# A GoogleTest binary whose tests are discovered right before they run.
# Link GTest::gtest_main in LIBS unless the test brings its own main().
function(cadconv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# cadconv_module(NAME [TEST] SOURCES...): a server module, a shared object
# loaded with dlopen. Only the symbols marked for export are visible.
# Modules not marked TEST are listed in servers.txt for scripts/run and
# installed into the server modules' folder.
function(cadconv_module name)
  cmake_parse_arguments(M "TEST" "" "" ${ARGN})
  add_library(${name} MODULE ${M_UNPARSED_ARGUMENTS})
  if(NOT M_TEST)
    set_property(GLOBAL APPEND PROPERTY CADCONV_SERVER_MODULES "$<TARGET_FILE:${name}>")
    cadconv_install_target(${name} ${CADCONV_INSTALL_MODULEDIR})
  endif()
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()

# Writes servers.txt, one server module path per line; call once at the end.
function(cadconv_write_server_list)
  get_property(modules GLOBAL PROPERTY CADCONV_SERVER_MODULES)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/servers.txt
       CONTENT "$<JOIN:${modules},\n>\n")
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/Resources.cmake)

# cadconv_fuzz(NAME SOURCES src... [INCLUDES dir...] [LIBS lib...]
#              [SEEDS dir...] [ARGS arg...])
# Only with CADCONV_FUZZ (clang): a libFuzzer target, its sources (the code
# under test among them) instrumented, and a short run of it as a test
# (label fuzz; the target fuzz_targets builds them all). Whatever a run
# writes stays in the build: with SEEDS it keeps new inputs in a corpus
# folder of the build, seeded from the given folders (libFuzzer writes only
# into the first folder it is given), a crashing input is kept beside the
# corpus, and the temporary folder (TMPDIR) is one of the build.
function(cadconv_fuzz name)
  if(NOT CADCONV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;INCLUDES;LIBS;SEEDS;ARGS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_include_directories(${name} PRIVATE ${F_INCLUDES})
  target_compile_options(${name} PRIVATE -g -O1 -fsanitize=fuzzer,address)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name})
  set(corpus "")
  if(F_SEEDS)
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
    file(MAKE_DIRECTORY ${corpus})
  endif()
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}-tmp)
  file(MAKE_DIRECTORY ${scratch})
  add_test(NAME ${name}_smoke
           COMMAND ${name} -seed=1 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}-
                   ${F_ARGS} ${corpus} ${F_SEEDS}
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name}_smoke PROPERTIES LABELS fuzz)
  set_tests_properties(${name}_smoke PROPERTIES ENVIRONMENT TMPDIR=${scratch})
endfunction()

# cadconv_screen_test(NAME COMMAND cmd... [ENVIRONMENT var=value...])
# A test that runs on a virtual screen (xvfb-run, Qt platform xcb); left out
# with a note when xvfb-run is missing. Such tests take turns: xvfb-run's
# choice of a free display is not safe against another one starting at once.
function(cadconv_screen_test name)
  cmake_parse_arguments(S "" "" "COMMAND;ENVIRONMENT" ${ARGN})
  find_program(XVFB_RUN xvfb-run)
  if(NOT XVFB_RUN)
    message(STATUS "xvfb-run not found: no test ${name}")
    return()
  endif()
  add_test(NAME ${name} COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24" ${S_COMMAND})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK virtual_screen)
  set_property(TEST ${name} PROPERTY ENVIRONMENT QT_QPA_PLATFORM=xcb ${S_ENVIRONMENT})
endfunction()
