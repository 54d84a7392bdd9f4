# Linking for the clang build (see clang-mingw-w64-x86_64.cmake): the posix-thread mingw-w64 g++,
# without the compile flags, some of which only clang knows.
foreach(lang C CXX)
  set(CMAKE_${lang}_LINK_EXECUTABLE "${VINDELOR_MINGW_PREFIX}-g++-posix \
<CMAKE_${lang}_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
  set(CMAKE_${lang}_CREATE_SHARED_LIBRARY "${VINDELOR_MINGW_PREFIX}-g++-posix -shared \
<LINK_FLAGS> <OBJECTS> -o <TARGET> -Wl,--out-implib,<TARGET_IMPLIB> <LINK_LIBRARIES>")
endforeach()
