# Builds the layers of cmake/LayerRules.cmake as libraries and runs the include check before them.
include(${CMAKE_CURRENT_LIST_DIR}/LayerRules.cmake)

# Every file the check reads: a change to any of them re-runs it, and a new or removed file
# re-globs (and so re-assigns the layers' sources) at the next build.
file(GLOB_RECURSE QV_LAYERED_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
  src/*.h src/*.hpp src/*.cpp src/*.cc src/*.inl
  tools/qvtool/*.h tools/qvtool/*.hpp tools/qvtool/*.cpp tools/qvtool/*.cc tools/qvtool/*.inl)
list(SORT QV_LAYERED_FILES)

if(QV_CHECK_LAYERS)
  set(QV_LAYER_STAMP ${CMAKE_BINARY_DIR}/layering.stamp)
  list(TRANSFORM QV_LAYERED_FILES PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE QV_LAYER_CHECK_INPUTS)
  add_custom_command(OUTPUT ${QV_LAYER_STAMP}
    COMMAND ${CMAKE_COMMAND} -DQV_ROOT=${CMAKE_SOURCE_DIR} -DQV_STAMP=${QV_LAYER_STAMP}
      -P ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake
    DEPENDS ${QV_LAYER_CHECK_INPUTS}
      ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake ${CMAKE_CURRENT_LIST_DIR}/LayerRules.cmake
    COMMENT "Checking the engine's layering"
    VERBATIM)
  add_custom_target(qvlayering ALL DEPENDS ${QV_LAYER_STAMP})
endif()

# qv_after_layer_check(TARGET...): nothing of TARGET compiles while an include breaks the layering.
function(qv_after_layer_check)
  if(QV_CHECK_LAYERS)
    foreach(target IN LISTS ARGN)
      add_dependencies(${target} qvlayering)
    endforeach()
  endif()
endfunction()

# qv_add_layer_library(LAYER): the layer's static library from the .cpp files it owns, linked to
# the libraries of exactly the layers it may use. Files listed in QV_LAYER_SKIP (paths from the
# source root) are left out: the build that has another implementation of them.
function(qv_add_layer_library layer)
  set(target ${QV_LAYER_${layer}_TARGET})
  set(sources "")
  foreach(file IN LISTS QV_LAYERED_FILES)
    if(file MATCHES "\\.(cpp|cc)$")
      qv_layer_of(${file} owner)
      if(owner STREQUAL layer AND NOT file IN_LIST QV_LAYER_SKIP)
        list(APPEND sources ${CMAKE_SOURCE_DIR}/${file})
      endif()
    endif()
  endforeach()
  add_library(${target} STATIC ${sources})
  foreach(used IN LISTS QV_LAYER_${layer}_USES)
    target_link_libraries(${target} PUBLIC ${QV_LAYER_${used}_TARGET})
  endforeach()
  qv_after_layer_check(${target})
endfunction()
