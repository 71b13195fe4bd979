# orvella_library(NAME SOURCES ... [DEPS ...])
#   One static library per source folder, named orvella_<NAME>; its headers
#   are included as "<folder>/<file>.h" from src/.
function(orvella_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(orvella_${name} STATIC ${ARG_SOURCES})
  target_include_directories(orvella_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(orvella_${name} PUBLIC ${ARG_DEPS} PRIVATE orvella_options)
endfunction()

# orvella_test(LABEL NAME SOURCES ... [DEPS ...] [WIDGETS] [TIMEOUT SECONDS])
#   A GoogleTest executable whose tests are registered one by one with CTest
#   and labelled LABEL (ctest -L LABEL). The test main starts a Qt GUI
#   application on the offscreen platform (WIDGETS: a widgets application).
#   Each test may run TIMEOUT seconds (120), so that a hung one fails.
function(orvella_test label name)
  cmake_parse_arguments(ARG "WIDGETS" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_WIDGETS)
    set(_main orvella_test_main_widgets)
  else()
    set(_main orvella_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${_main} GTest::gtest GTest::gmock orvella_options)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
    PROPERTIES LABELS ${label} TIMEOUT ${ARG_TIMEOUT})
endfunction()

# orvella_fuzzer(NAME SOURCE [DEPS ...])
function(orvella_fuzzer name source)
  add_executable(fuzz_${name} ${source})
  target_link_libraries(fuzz_${name} PRIVATE ${ARGN} orvella_options)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(fuzz fuzz_${name})
endfunction()
