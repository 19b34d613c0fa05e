# The engine's layers: the folders each one owns and the layers whose headers it may include.
#
# Read by the build (one library per layer, linked along these edges) and by CheckLayers.cmake
# (the include check), so the link graph and the checked graph cannot drift apart.
#
# A layer owns its folders and every subfolder that no other layer claims; a file belongs to the
# layer with the longest matching folder. USES lists the layers it may include besides itself,
# "*" meaning any. TARGET names the static library built from the layer's .cpp files.

set(QV_LAYERS
  platform core graphics audio screens resources script shell
  platform/posix platform/headless platform/fonts platform/sdl platform/cdio platform/web
  app qvtool)

# The platform interfaces, and the clock and message queue every backend shares.
set(QV_LAYER_platform_DIRS src/platform src/platform/common)
set(QV_LAYER_platform_USES "")
set(QV_LAYER_platform_TARGET qvplatformapi)

set(QV_LAYER_core_DIRS src/core)
set(QV_LAYER_core_USES platform)
set(QV_LAYER_core_TARGET qvcore)

set(QV_LAYER_graphics_DIRS src/graphics)
set(QV_LAYER_graphics_USES core platform)
set(QV_LAYER_graphics_TARGET qvgraphics)

set(QV_LAYER_audio_DIRS src/audio)
set(QV_LAYER_audio_USES core platform)
set(QV_LAYER_audio_TARGET qvaudio)

set(QV_LAYER_screens_DIRS src/screens)
set(QV_LAYER_screens_USES graphics audio core platform)
set(QV_LAYER_screens_TARGET qvscreens)

set(QV_LAYER_resources_DIRS src/resources)
set(QV_LAYER_resources_USES platform)
set(QV_LAYER_resources_TARGET qvresources)

set(QV_LAYER_script_DIRS src/script)
set(QV_LAYER_script_USES screens graphics audio resources core platform)
set(QV_LAYER_script_TARGET qvscript)

set(QV_LAYER_shell_DIRS src/shell)
set(QV_LAYER_shell_USES script screens graphics audio resources core platform)
set(QV_LAYER_shell_TARGET qvshell)

# Backends implement the interfaces and never reach into the engine.
set(QV_LAYER_platform/posix_DIRS src/platform/posix)
set(QV_LAYER_platform/posix_USES platform)
set(QV_LAYER_platform/posix_TARGET qvposix)

set(QV_LAYER_platform/headless_DIRS src/platform/headless)
set(QV_LAYER_platform/headless_USES platform)
set(QV_LAYER_platform/headless_TARGET qvheadless)

set(QV_LAYER_platform/fonts_DIRS src/platform/fonts)
set(QV_LAYER_platform/fonts_USES platform)
set(QV_LAYER_platform/fonts_TARGET qvfonts)

# The window draws its text with the font rasteriser.
set(QV_LAYER_platform/sdl_DIRS src/platform/sdl)
set(QV_LAYER_platform/sdl_USES platform platform/fonts)
set(QV_LAYER_platform/sdl_TARGET qvsdl)

set(QV_LAYER_platform/cdio_DIRS src/platform/cdio)
set(QV_LAYER_platform/cdio_USES platform)
set(QV_LAYER_platform/cdio_TARGET qvcdio)

# The browser's side of files: saves kept in the page's IndexedDB through the POSIX files.
set(QV_LAYER_platform/web_DIRS src/platform/web)
set(QV_LAYER_platform/web_USES platform platform/posix)
set(QV_LAYER_platform/web_TARGET qvweb)

# The app wires an engine to its backends, so it sees everything. Its library keeps main.cpp out,
# so it is built by hand rather than from this table.
set(QV_LAYER_app_DIRS src/app)
set(QV_LAYER_app_USES "*")

# The data tool writes games in the engine's formats and reuses their code; its checker reads a
# game through the script's command table and parsers and the screens' file names.
set(QV_LAYER_qvtool_DIRS tools/qvtool)
set(QV_LAYER_qvtool_USES shell script screens graphics core platform platform/posix)

# qv_layer_of(PATH OUT): the layer owning PATH (relative to the source root), or "" for none.
function(qv_layer_of path out)
  get_filename_component(dir "${path}" DIRECTORY)
  set(best "")
  set(best_length -1)
  foreach(layer IN LISTS QV_LAYERS)
    foreach(owned IN LISTS QV_LAYER_${layer}_DIRS)
      string(LENGTH "${owned}" length)
      if((dir STREQUAL owned OR dir MATCHES "^${owned}/") AND length GREATER best_length)
        set(best "${layer}")
        set(best_length ${length})
      endif()
    endforeach()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()
