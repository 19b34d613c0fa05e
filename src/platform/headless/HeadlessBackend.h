// The services of a headless run, wired together. Construct it on the thread that will run it.
#pragma once

#include <string>

#include "platform/headless/FileEventLog.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessUi.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/VirtualClock.h"

namespace qv::platform::headless {

struct HeadlessBackend {
  // Writes DIR/events.log and the captures into `outDir`, which must exist.
  explicit HeadlessBackend(const std::string& outDir)
      : log(clock, outDir + "/events.log"),
        ui(log),
        window(clock, ui, log, outDir),
        audio(clock, outDir) {
    ui.SetEventSource(&window);
  }

  VirtualClock clock;
  FileEventLog log;
  HeadlessUi ui;
  HeadlessWindow window;
  HeadlessDisplay display;
  HeadlessAudio audio;  // after the clock, which its worker waits on
};

}  // namespace qv::platform::headless
