# Helpers shared by every component's CMakeLists.

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
# Modules not marked TEST are listed in servers.txt for scripts/run.
function(cadconv_module name)
  cmake_parse_arguments(M "TEST" "" "" ${ARGN})
  add_library(${name} MODULE ${M_UNPARSED_ARGUMENTS})
  if(NOT M_TEST)
    set_property(GLOBAL APPEND PROPERTY CADCONV_SERVER_MODULES "$<TARGET_FILE:${name}>")
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
