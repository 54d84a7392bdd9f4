# libFuzzer targets for the host tier. The host preset compiles with g++, which has no libFuzzer,
# so each fuzzer is built by a clang++ command of its own (with ASan and UBSan) and run for a
# bounded time over a fresh copy of its committed seed corpus by a CTest test (label host).
#
#   vindelor_add_fuzz_test(NAME ParseBmp SOURCES FuzzParseBmp.cpp ${CMAKE_SOURCE_DIR}/output/...
#                          CORPUS corpus/bmp)   gives the test fuzz.ParseBmp

set(VINDELOR_FUZZ_SECONDS 60 CACHE STRING "How long each fuzz.* test fuzzes")
find_program(VINDELOR_FUZZ_CXX NAMES clang++-14 clang++ DOC "clang++ that builds the fuzzers")
if(VINDELOR_FUZZ_CXX)
  execute_process(
    COMMAND ${VINDELOR_FUZZ_CXX} -print-file-name=libclang_rt.fuzzer-${CMAKE_HOST_SYSTEM_PROCESSOR}.a
    OUTPUT_VARIABLE fuzzRuntime OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT VINDELOR_FUZZ_CXX OR NOT IS_ABSOLUTE "${fuzzRuntime}" OR NOT EXISTS "${fuzzRuntime}")
  message(FATAL_ERROR "clang++ with libFuzzer not found: install the Debian packages "
                      "clang-14 and libclang-rt-14-dev (scripts/setup.sh does).")
endif()

function(vindelor_add_fuzz_test)
  cmake_parse_arguments(ARG "" "NAME;CORPUS" "SOURCES" ${ARGN})
  set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/Fuzz${ARG_NAME})
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${VINDELOR_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -I${CMAKE_SOURCE_DIR}
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
            -MD -MF ${fuzzer}.d ${ARG_SOURCES} -o ${fuzzer}
    DEPFILE ${fuzzer}.d
    DEPENDS ${ARG_SOURCES}
    COMMENT "Building the fuzzer ${ARG_NAME} with ${VINDELOR_FUZZ_CXX}"
    VERBATIM)
  add_custom_target(fuzz_${ARG_NAME} ALL DEPENDS ${fuzzer})
  add_test(NAME fuzz.${ARG_NAME}
    COMMAND ${CMAKE_COMMAND} -DFUZZER=${fuzzer} -DSEEDS=${CMAKE_CURRENT_SOURCE_DIR}/${ARG_CORPUS}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME} -DSECONDS=${VINDELOR_FUZZ_SECONDS}
            -P ${CMAKE_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  math(EXPR timeout "${VINDELOR_FUZZ_SECONDS} + 120")
  set_tests_properties(fuzz.${ARG_NAME} PROPERTIES LABELS host TIMEOUT ${timeout}
                       ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
