# The web build's programs (included by CMakeLists.txt under Emscripten, in place of the native
# programs and tests): qvplay for Node, which plays headless on Node's own file system.

# The fonts every web program carries: IPA Gothic from Debian's fonts-ipafont-gothic.
set(QV_WEB_FONT_FILES
  /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
  /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
  /usr/share/doc/fonts-ipafont-gothic/copyright)
foreach(file IN LISTS QV_WEB_FONT_FILES)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: apt-get install fonts-ipafont-gothic")
  endif()
endforeach()

# Every program's runtime: the engine's threads are Web Workers, main() runs on one of them so
# the page's (or Node's) own thread stays free to serve them, and memory grows as games need
# (growing shared memory slows the JavaScript side's access to it a little, not the engine's).
set(QV_WEB_LINK_OPTIONS -sPROXY_TO_PTHREAD=1 -sALLOW_MEMORY_GROWTH=1 -Wno-pthreads-mem-growth
  -sINITIAL_MEMORY=64MB
  -sEXIT_RUNTIME=1)

add_executable(qvplay-node src/app/main.cpp)
target_link_libraries(qvplay-node PRIVATE qvapp)
set_target_properties(qvplay-node PROPERTIES OUTPUT_NAME qvplay
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/node)
target_link_options(qvplay-node PRIVATE ${QV_WEB_LINK_OPTIONS} -sENVIRONMENT=node,worker
  -sNODERAWFS=1 --pre-js ${CMAKE_SOURCE_DIR}/web/node-pre.js)
set_property(TARGET qvplay-node APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/node-pre.js)
add_custom_command(TARGET qvplay-node POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/node/fonts
  COMMAND ${CMAKE_COMMAND} -E copy ${QV_WEB_FONT_FILES} ${CMAKE_BINARY_DIR}/node/fonts/
  VERBATIM)
