# Registering the Windows test programs with CTest. Cross-built, they run under Wine against the
# services of the run (a private Xvfb, Wine prefix and cupsd, kept in the build tree's harness
# folder), which the CTest fixture "wine" starts and stops.
if(CMAKE_CROSSCOMPILING)
  set(VINDELOR_STATE_DIR ${CMAKE_BINARY_DIR}/harness)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/harness/wine-run.sh ${VINDELOR_STATE_DIR})
endif()

# Registers each TEST of the sources as its own CTest test "<label>.[<prefix>.]<Suite>.<Name>",
# needing the services (SERVICES: the fixture of other services, see vindelor_own_services).
# DESKTOP: the tests use the hotkeys, the clipboard or the screen, so they run one at a time.
# QUEUES: the print queues of every test (see vindelor_test_queues).
# Each test must really run and pass: a filter that matches no test passes in gtest.
function(vindelor_add_wine_tests)
  cmake_parse_arguments(ARG "DESKTOP" "TARGET;LABEL;SERVICES;PREFIX;QUEUES" "SOURCES" ${ARGN})
  if(NOT ARG_SERVICES)
    set(ARG_SERVICES wine)
  endif()
  set(prefix "${ARG_LABEL}.")
  if(ARG_PREFIX)
    string(APPEND prefix "${ARG_PREFIX}.")
  endif()
  gtest_add_tests(TARGET ${ARG_TARGET} SOURCES ${ARG_SOURCES} TEST_PREFIX "${prefix}"
                  TEST_LIST added)
  set_tests_properties(${added} PROPERTIES LABELS ${ARG_LABEL} FIXTURES_REQUIRED ${ARG_SERVICES}
                       TIMEOUT 240
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(ARG_DESKTOP)
    set_tests_properties(${added} PROPERTIES RESOURCE_LOCK desktop)
  endif()
  if(ARG_QUEUES)
    vindelor_test_queues("${ARG_QUEUES}" ${added})
  endif()
endfunction()

# The programs of the target run against services of their own, with another screen (such as
# 1920x1080x24, or two monitors as 1024x768+800x600@left), kept in <build>/harness-<name>: the
# CTest fixture <name> starts and stops them. Further arguments VAR=value set the desktop of
# services.sh (VINDELOR_TEMP_FOLDER, VINDELOR_DPI).
# Natively on Windows the tests run on the desktop there.
function(vindelor_own_services target name screen)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(state ${VINDELOR_STATE_DIR}-${name})
  set(services ${CMAKE_SOURCE_DIR}/harness/services.sh)
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_SOURCE_DIR}/harness/wine-run.sh;${state}")
  add_test(NAME harness.${name}.start
    COMMAND ${CMAKE_COMMAND} -E env VINDELOR_SCREEN=${screen} ${ARGN} ${services} start ${state})
  set_tests_properties(harness.${name}.start PROPERTIES
    FIXTURES_SETUP ${name} LABELS e2e TIMEOUT 300 RESOURCE_LOCK desktop)
  add_test(NAME harness.${name}.stop COMMAND ${services} stop ${state})
  set_tests_properties(harness.${name}.stop PROPERTIES
    FIXTURES_CLEANUP ${name} LABELS e2e TIMEOUT 120 RESOURCE_LOCK desktop)
endfunction()

# Runs the given tests with their own set of print queues (queues.sh arguments, such as
# "three B" or "none"); the default set "one" is back afterwards.
function(vindelor_test_queues queues)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT "VINDELOR_QUEUES=${queues}")
  endif()
endfunction()
