# The layers are kept by the build: before anything is compiled, cmake/CheckLayers.cmake reads
# the include lines of every source and fails the build on one that reaches a layer above its
# own. It runs again whenever a source changes.
file(GLOB_RECURSE vindelor_layered_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/toolkit/*.h ${CMAKE_SOURCE_DIR}/toolkit/*.cpp
  ${CMAKE_SOURCE_DIR}/components/*.h ${CMAKE_SOURCE_DIR}/components/*.cpp
  ${CMAKE_SOURCE_DIR}/forms/*.h ${CMAKE_SOURCE_DIR}/forms/*.cpp
  ${CMAKE_SOURCE_DIR}/app/*.h ${CMAKE_SOURCE_DIR}/app/*.cpp
  ${CMAKE_SOURCE_DIR}/capture/*.h ${CMAKE_SOURCE_DIR}/capture/*.cpp
  ${CMAKE_SOURCE_DIR}/options/*.h ${CMAKE_SOURCE_DIR}/options/*.cpp
  ${CMAKE_SOURCE_DIR}/output/*.h ${CMAKE_SOURCE_DIR}/output/*.cpp)
set(vindelor_layers_checked ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${vindelor_layers_checked}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DCHECKED=${vindelor_layers_checked}
          -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
  DEPENDS ${vindelor_layered_sources} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking that no include reaches up a layer"
  VERBATIM)
add_custom_target(vindelor_layers DEPENDS ${vindelor_layers_checked})
