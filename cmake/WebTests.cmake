# The web build's tests. The golden replays are played by the native test program, which then
# plays each run again with the web build's qvplay under Node and compares what both left.
set(QV_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build/release CACHE PATH
  "The native build (release preset) whose test program the web build's tests run")
enable_testing()
add_test(NAME web_golden_replays_match_native
  COMMAND ${QV_NATIVE_BUILD}/qvtests --gtest_filter=Cases/GoldenReplay.*)
set_tests_properties(web_golden_replays_match_native PROPERTIES TIMEOUT 1200
  ENVIRONMENT "QV_WEB_QVPLAY=$<TARGET_FILE:qvplay-node>")
# The site in Debian's Chromium, driven by puppeteer-core (tests/web's lock file pins it; the
# test installs it into tests/web/node_modules the first time).
add_test(NAME web_site_in_chromium COMMAND node ${CMAKE_SOURCE_DIR}/tests/web/browser_test.js)
set_tests_properties(web_site_in_chromium PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE 77
  ENVIRONMENT "QV_NATIVE_BUILD=${QV_NATIVE_BUILD}")
