# GoogleTest, built from its sources with whichever toolchain this tree uses: Debian's
# `googletest` package puts them in /usr/src/googletest. Elsewhere an installed GoogleTest will do.
set(VINDELOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${VINDELOR_GTEST_SOURCE}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VINDELOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR "GoogleTest not found: install the Debian package 'googletest' "
                        "(scripts/setup.sh does), or set VINDELOR_GTEST_SOURCE to its sources.")
  endif()
endif()
include(GoogleTest)
