# Runs the include check on small generated trees and compares its verdict and report line by line.
#
# cmake -DQV_CHECKER=<CheckLayers.cmake> -DQV_WORK=<scratch folder> -P CheckLayersTest.cmake
#
# A file is written as "PATH = INCLUDE...": a bare name becomes #include "NAME", <NAME> stays an
# angle include and //NAME a commented-out one.

set(failures 0)

function(check_case name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FILES;EXPECT")
  set(root ${QV_WORK}/${name})
  file(REMOVE_RECURSE ${root} ${root}.stamp)
  foreach(entry IN LISTS arg_FILES)
    string(REGEX MATCH "^([^ ]+) =(.*)$" _ "${entry}")
    set(path ${CMAKE_MATCH_1})
    separate_arguments(includes UNIX_COMMAND "${CMAKE_MATCH_2}")
    set(text "// Fixture.\n")
    foreach(include IN LISTS includes)
      if(include MATCHES "^<")
        string(APPEND text "#include ${include}\n")
      elseif(include MATCHES "^//(.*)")
        string(APPEND text "// #include \"${CMAKE_MATCH_1}\"\n")
      else()
        string(APPEND text "#include \"${include}\"\n")
      endif()
    endforeach()
    file(WRITE ${root}/${path} "${text}")
  endforeach()

  execute_process(COMMAND ${CMAKE_COMMAND} -DQV_ROOT=${root} -DQV_STAMP=${root}.stamp -P ${QV_CHECKER}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCHALL "layering: [^\n]*" reported "${out}")
  set(problems "")
  if(arg_EXPECT)
    if(result EQUAL 0 OR EXISTS ${root}.stamp)
      list(APPEND problems "the check passed")
    endif()
  elseif(NOT result EQUAL 0 OR NOT EXISTS ${root}.stamp)
    list(APPEND problems "the check failed")
  endif()
  if(NOT "${reported}" STREQUAL "${arg_EXPECT}")
    list(APPEND problems "reported lines differ from the expected ones")
  endif()
  if(problems)
    list(JOIN problems "; " why)
    message(NOTICE "FAIL ${name}: ${why}\n--- output:\n${out}--- expected:")
    foreach(line IN LISTS arg_EXPECT)
      message(NOTICE "${line}")
    endforeach()
    math(EXPR count "${failures} + 1")
    set(failures ${count} PARENT_SCOPE)
  endif()
endfunction()

check_case(allowed_edges
  FILES
    "src/platform/Clock.h = <vector> common/RealClock.h"
    "src/platform/common/RealClock.h = platform/Clock.h"
    "src/core/Surface.h = platform/Clock.h"
    "src/graphics/Blend.h = core/Surface.h"
    "src/graphics/Blend.cpp = Blend.h imgui.h //script/Engine.h"
    "src/script/Engine.h = graphics/Blend.h"
    "src/script/commands/Scene.cpp = script/Engine.h"
    "src/shell/Menu.cpp = script/Engine.h"
    "src/platform/fonts/Face.h = platform/Clock.h"
    "src/platform/sdl/Window.cpp = platform/fonts/Face.h platform/common/RealClock.h"
    "src/app/Run.cpp = shell/Menu.cpp platform/sdl/Window.cpp"
    "tools/qvtool/Cli.cpp = qvtool/Cli.h graphics/Blend.h"
    "tools/qvtool/Cli.h = core/Surface.h"
  EXPECT)

check_case(upward_include
  FILES
    "src/script/Engine.h = core/Surface.h"
    "src/core/Surface.h ="
    "src/graphics/Foo.cpp = core/Surface.h script/Engine.h"
  EXPECT
    "layering: src/graphics/Foo.cpp includes \"script/Engine.h\": graphics may not depend on script (allowed: core, platform)")

# Every offender is listed, however it spells the include, and a file no layer owns is one too.
check_case(every_offender
  FILES
    "src/script/Engine.h ="
    "src/core/Surface.h ="
    "src/platform/Display.h = core/Surface.h"
    "src/audio/Sound.h = <script/Engine.h>"
    "src/screens/Logo.cpp = ../script/Engine.h"
    "src/platform/headless/Ui.cpp = platform/Display.h core/Surface.h"
    "src/platform/posix/Files.cpp = platform/fonts/Face.h"
    "src/platform/fonts/Face.h ="
    "src/extras/Thing.cpp ="
  EXPECT
    "layering: src/audio/Sound.h includes <script/Engine.h>: audio may not depend on script (allowed: core, platform)"
    "layering: src/extras/Thing.cpp is in no layer's folder (add the folder to cmake/LayerRules.cmake)"
    "layering: src/platform/Display.h includes \"core/Surface.h\": platform may not depend on core (allowed: none)"
    "layering: src/platform/headless/Ui.cpp includes \"core/Surface.h\": platform/headless may not depend on core (allowed: platform)"
    "layering: src/platform/posix/Files.cpp includes \"platform/fonts/Face.h\": platform/posix may not depend on platform/fonts (allowed: platform)"
    "layering: src/screens/Logo.cpp includes \"../script/Engine.h\": screens may not depend on script (allowed: graphics, audio, core, platform)")

if(failures)
  message(FATAL_ERROR "${failures} layering case(s) failed")
endif()
