# cmake -DSOURCE_DIR=<repository> -DCHECKED=<stamp file> -P CheckLayers.cmake
#
# Fails when a source includes a header that its folder may not include, and writes the stamp
# file otherwise. Every include of ours names the header from the repository's root
# ("toolkit/Form.h"), so its first folder is the layer it comes from.
cmake_minimum_required(VERSION 3.25)

# Each folder, then the folders its sources may include.
set(feature_may_include app capture options output forms components toolkit res)
set(may_include_toolkit toolkit)
set(may_include_components components toolkit)
set(may_include_forms forms components toolkit)
set(may_include_app ${feature_may_include})
set(may_include_capture ${feature_may_include})
set(may_include_options ${feature_may_include})
set(may_include_output ${feature_may_include})
# The application object is the top of the toolkit: of the toolkit's own sources only these
# include it (the forms and the popup menus' commands belong to it).
set(application_header toolkit/Application.h)
set(application_includers toolkit/Application.cpp toolkit/Form.cpp toolkit/Menu.cpp)

set(violations "")
foreach(folder toolkit components forms app capture options output)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
       ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      string(REGEX MATCH "^[^/]+/" layer "${header}")
      string(REPLACE "/" "" layer "${layer}")
      if(NOT layer IN_LIST may_include_${folder})
        string(JOIN ", " allowed ${may_include_${folder}})
        list(APPEND violations "${source} includes \"${header}\": ${folder}/ may include only ${allowed}")
      elseif(header STREQUAL application_header AND folder STREQUAL "toolkit"
             AND NOT source IN_LIST application_includers)
        list(APPEND violations "${source} includes \"${header}\": the application object is the toolkit's top")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " listed)
  file(REMOVE ${CHECKED})
  message(FATAL_ERROR "An include reaches up a layer:\n  ${listed}")
endif()
file(WRITE ${CHECKED} "")
