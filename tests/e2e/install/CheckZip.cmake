# The portable zip holds exactly the program, byte for byte the build's, and its read-me with
# Windows line ends.   cmake -DZIP=… -DPROGRAM=… -DWORK=… -P CheckZip.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${WORK})
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${WORK} ${WORK}/*)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/Vindelor.exe ${PROGRAM}
                RESULT_VARIABLE different)
# In ASCII text, every byte is 00-7f in hex: neither pattern can match across two bytes.
file(READ ${WORK}/ReadMe.txt hex HEX)
string(REGEX MATCHALL "0a" lineEnds "${hex}")
string(REGEX MATCHALL "0d0a" windowsLineEnds "${hex}")
list(LENGTH lineEnds lines)
list(LENGTH windowsLineEnds windowsLines)
if(NOT entries STREQUAL "ReadMe.txt;Vindelor.exe" OR different OR NOT lines EQUAL windowsLines)
  message(FATAL_ERROR
          "${ZIP} holds ${entries}; exe differs: ${different}; CRLF: ${windowsLines} of ${lines}")
endif()
