# High warning levels, treated as errors, for every target of ours.
function(vindelor_warnings target)
  if(MSVC)
    # The sources and the program's texts are UTF-8.
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /Zc:__cplusplus /utf-8)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Werror
      -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast -Wcast-qual
      -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
      -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations -Wundef
      # Designated initializers leave members at their defaults on purpose ({.tabOrder = 1}).
      -Wno-missing-field-initializers
      # The sources and the program's texts are UTF-8 (GCC's and Clang's default, said outright).
      -finput-charset=UTF-8 $<$<CXX_COMPILER_ID:GNU>:-fexec-charset=UTF-8>)
  endif()
endfunction()

# One self-contained exe: the C and C++ runtimes (and winpthread) linked statically.
set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
function(vindelor_static_runtime target)
  if(NOT MSVC)
    target_link_options(${target} INTERFACE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# Each function and datum in a section of its own, so that the linker can drop what is unused.
if(NOT MSVC)
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

# The program's code is built for size: it mostly waits on the user and the system, and -Os makes
# the exe about an eighth smaller. The loops over pixels and file bytes keep the build type's
# speed (vindelor_keep_speed).
function(vindelor_optimise_for_size target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:$<IF:$<BOOL:${MSVC}>,/O1,-Os>>)
endfunction()
function(vindelor_keep_speed target)
  set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES
    COMPILE_OPTIONS $<$<CONFIG:Release>:$<IF:$<BOOL:${MSVC}>,/O2,-O2>>)
endfunction()

option(VINDELOR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VINDELOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
