// Plays a game in the SDL backend's window: qvplay on the desktop and in the browser differ only
// in the files and drives they give it.
#pragma once

#include "platform/Cp932.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/OpticalDrives.h"
#include "platform/fonts/FreeTypeGlyphs.h"
#include "platform/posix/FileInstanceLocks.h"
#include "platform/sdl/SdlBackend.h"
#include "script/Engine.h"
#include "shell/Startup.h"

namespace qv::app {

// Inline, since only the programs that link the SDL backend include it (qvapp does not).
inline int PlayInWindow(platform::sdl::SdlBackend& backend, platform::Files& files,
                        platform::Cp932& cp932, platform::OpticalDrives& drives,
                        const shell::StartupOptions& startup) {
  platform::posix::FileInstanceLocks locks;
  platform::NullEventLog log;
  platform::fonts::FreeTypeGlyphs glyphs(cp932);
  platform::Platform services{backend.GetClock(),
                              backend.GetWindow(),
                              backend.GetUi(),
                              backend.GetDisplay(),
                              files,
                              cp932,
                              log,
                              locks,
                              drives,
                              glyphs,
                              backend.GetAudio()};
  script::Engine engine(services);
  return shell::RunGame(engine, startup);
}

}  // namespace qv::app
