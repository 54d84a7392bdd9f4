# Registering the Windows test programs with CTest. Cross-built, they run under Wine against the
# services of the run (a private Xvfb, Wine prefix and cupsd, kept in the build tree's harness
# folder), which the CTest fixture "wine" starts and stops.
if(CMAKE_CROSSCOMPILING)
  set(VINDELOR_STATE_DIR ${CMAKE_BINARY_DIR}/harness)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/harness/wine-run.sh ${VINDELOR_STATE_DIR})
endif()

# Registers each TEST of the sources as its own CTest test "<label>.<Suite>.<Name>", needing the
# services. DESKTOP: the tests use the hotkeys, the clipboard or the screen, so they run one at a
# time. Each test must really run and pass: a filter that matches no test passes in gtest.
function(vindelor_add_wine_tests)
  cmake_parse_arguments(ARG "DESKTOP" "TARGET;LABEL" "SOURCES" ${ARGN})
  gtest_add_tests(TARGET ${ARG_TARGET} SOURCES ${ARG_SOURCES} TEST_PREFIX "${ARG_LABEL}."
                  TEST_LIST added)
  set_tests_properties(${added} PROPERTIES LABELS ${ARG_LABEL} FIXTURES_REQUIRED wine TIMEOUT 240
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(ARG_DESKTOP)
    set_tests_properties(${added} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# Runs the given tests with their own set of print queues (queues.sh arguments, such as
# "three B" or "none"); the default set "one" is back afterwards.
function(vindelor_test_queues queues)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT "VINDELOR_QUEUES=${queues}")
  endif()
endfunction()
