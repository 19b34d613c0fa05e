# The benchmarks for Node (build/web/node/qvbench.js), to set the web build's speed beside the
# native one's: the same sources with the runtime of qvplay for Node, and Google Benchmark built
# by scripts/web-deps.sh ($QV_WEB_BENCH). Included after cmake/Web.cmake when QV_BUILD_BENCH is on.

set(QV_WEB_BENCH "$ENV{QV_WEB_BENCH}" CACHE PATH
  "Google Benchmark built for the web (scripts/web-deps.sh sets QV_WEB_BENCH)")
# Emscripten's toolchain looks for packages only inside its sysroot.
find_package(benchmark CONFIG QUIET PATHS "${QV_WEB_BENCH}" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
file(GLOB QV_WEB_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(NOT benchmark_FOUND)
  message(WARNING "No Google Benchmark for the web in '${QV_WEB_BENCH}': no qvbench; "
    "run eval \"$(scripts/web-deps.sh)\" and configure again")
  return()
endif()

pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
# Built when asked for (--target qvbench), as the native one is.
# The audio benchmark's file comes from the tests' encoder, which is the tool's (no tool here).
add_executable(qvbench EXCLUDE_FROM_ALL ${QV_WEB_BENCH_SOURCES} tests/support/OggCodec.cpp
  tools/qvtool/VorbisEncoding.cpp)
target_include_directories(qvbench PRIVATE tests tools)
target_link_libraries(qvbench PRIVATE qvapp PkgConfig::VORBISENC benchmark::benchmark)
set_target_properties(qvbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/node)
# qvplay for Node's runtime (cmake/Web.cmake), so the figures are the ones a player gets: main()
# on a worker thread, growing memory, Node's own file system, the fonts beside the script.
target_link_options(qvbench PRIVATE -sPROXY_TO_PTHREAD=1 -sALLOW_MEMORY_GROWTH=1
  -Wno-pthreads-mem-growth -sINITIAL_MEMORY=64MB -sEXIT_RUNTIME=1 -sENVIRONMENT=node,worker
  -sNODERAWFS=1 --pre-js ${CMAKE_SOURCE_DIR}/web/node-pre.js)
set_property(TARGET qvbench APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/node-pre.js)
add_custom_command(TARGET qvbench POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/node/fonts
  COMMAND ${CMAKE_COMMAND} -E copy ${QV_WEB_FONT_FILES} ${CMAKE_BINARY_DIR}/node/fonts/
  VERBATIM)
