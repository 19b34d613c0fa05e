# The web build's programs (included by CMakeLists.txt under Emscripten, in place of the native
# programs and tests): qvplay for Node, which plays headless on Node's own file system, and the
# site, qvplay in a browser page.

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

# qvplay for the browser: the SDL backend draws into the page's canvas from main()'s worker and
# plays through Web Audio; the site in build/web/site is the program, its page and worker
# scripts, the fonts and the sample game, for any static host.
if(QV_WITH_SDL)
  # The sample game is made by the native tool (the web build has none).
  set(QV_NATIVE_QVTOOL ${CMAKE_SOURCE_DIR}/build/release/qvtool CACHE FILEPATH
    "The native qvtool that writes the site's sample game")
  if(NOT EXISTS ${QV_NATIVE_QVTOOL})
    message(FATAL_ERROR "The site's sample game needs the native qvtool, and "
      "${QV_NATIVE_QVTOOL} is missing: build it first (cmake --preset release && "
      "cmake --build --preset release --target qvtool) or set QV_NATIVE_QVTOOL to one.")
  endif()

  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
  # Dear ImGui has no pkg-config file in the dependency cache; its SDL backends are built into
  # the library there.
  set(QV_IMGUI_ROOT $ENV{QV_WEB_DEPS})
  if(NOT EXISTS ${QV_IMGUI_ROOT}/lib/libimgui.a)
    message(FATAL_ERROR "Dear ImGui is missing from \$QV_WEB_DEPS: eval \"$(scripts/web-deps.sh)\" first")
  endif()
  add_library(qvimguibackends INTERFACE)
  target_include_directories(qvimguibackends INTERFACE ${QV_IMGUI_ROOT}/include/imgui
    ${QV_IMGUI_ROOT}/include/imgui/backends)
  target_link_libraries(qvimguibackends INTERFACE ${QV_IMGUI_ROOT}/lib/libimgui.a PkgConfig::SDL2)
  qv_add_layer_library(platform/sdl)
  target_link_libraries(qvsdl PUBLIC qvimguibackends)
  qv_add_layer_library(platform/web)

  set(QV_SITE_DIR ${CMAKE_BINARY_DIR}/site)
  set(QV_SITE_PAGE_FILES ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/page.js
    ${CMAKE_SOURCE_DIR}/web/zip.js ${CMAKE_SOURCE_DIR}/web/page.css ${CMAKE_SOURCE_DIR}/web/sw.js)
  file(WRITE ${CMAKE_BINARY_DIR}/sdl-js-needs.txt "$autoResumeAudioContext\n$dynCall\n")
  add_executable(qvplay-web src/app/web/WebMain.cpp)
  target_link_libraries(qvplay-web PRIVATE qvapp qvsdl qvweb)
  set_target_properties(qvplay-web PROPERTIES OUTPUT_NAME qvplay RUNTIME_OUTPUT_DIRECTORY ${QV_SITE_DIR})
  # The page unpacks the game and the fonts into memory and mounts IndexedDB for the saves before
  # main runs (web/page-pre.js), then starts main on the player's click (browsers let sound
  # start only after one).
  target_link_options(qvplay-web PRIVATE ${QV_WEB_LINK_OPTIONS} -sENVIRONMENT=web,worker
    -sPTHREAD_POOL_SIZE=4 -sFORCE_FILESYSTEM=1 -lidbfs.js
    "-sEXPORTED_FUNCTIONS=_main,_qv_check_saved_game,_malloc,_free"
    "-sEXPORTED_RUNTIME_METHODS=callMain,UTF8ToString"
    # SDL's Web Audio driver calls these from its inline JavaScript, which declares no needs
    # (a file, since the names' '$' would not survive the shell).
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/sdl-js-needs.txt
    --pre-js ${CMAKE_SOURCE_DIR}/web/page-pre.js)
  set_property(TARGET qvplay-web APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/page-pre.js)

  # The page, the fonts and the sample game beside the program.
  add_custom_command(OUTPUT ${QV_SITE_DIR}/sample.zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/sample-game
    COMMAND ${QV_NATIVE_QVTOOL} make-sample ${CMAKE_BINARY_DIR}/sample-game
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_SITE_DIR}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/sample-game
      ${CMAKE_COMMAND} -E tar cf ${QV_SITE_DIR}/sample.zip --format=zip .
    DEPENDS ${QV_NATIVE_QVTOOL}
    COMMENT "Making the site's sample game with ${QV_NATIVE_QVTOOL}"
    VERBATIM)
  add_custom_target(qvsite ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_SITE_DIR}/fonts
    COMMAND ${CMAKE_COMMAND} -E copy ${QV_WEB_FONT_FILES} ${QV_SITE_DIR}/fonts/
    COMMAND ${CMAKE_COMMAND} -E copy ${QV_SITE_PAGE_FILES} ${QV_SITE_DIR}/
    DEPENDS ${QV_SITE_DIR}/sample.zip ${QV_SITE_PAGE_FILES}
    VERBATIM)
  add_dependencies(qvsite qvplay-web)
endif()
