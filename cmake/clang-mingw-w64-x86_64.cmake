# The second compiler: Debian's clang for the same 64-bit Windows target, against the headers and
# libraries of the posix-thread mingw-w64 g++, which also links (so the runtime is the same).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${VINDELOR_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${VINDELOR_MINGW_PREFIX})

file(GLOB vindelor_libstdcxx LIST_DIRECTORIES true
     /usr/lib/gcc/${VINDELOR_MINGW_PREFIX}/*-posix/include/c++)
if(NOT vindelor_libstdcxx)
  message(FATAL_ERROR "The posix-thread mingw-w64 g++ (its libstdc++ headers) is missing")
endif()
list(GET vindelor_libstdcxx 0 vindelor_libstdcxx)
# Thread-local data as the g++ keeps it on this target (emulated), so that both sides agree.
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls \
-isystem ${vindelor_libstdcxx} -isystem ${vindelor_libstdcxx}/${VINDELOR_MINGW_PREFIX}")

# The g++ links, with the libraries and thread runtime it always adds. The rule is set after
# CMake's own platform rules, which would otherwise replace it.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/clang-mingw-link-rules.cmake)
