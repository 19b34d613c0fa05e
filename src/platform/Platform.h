// The services an engine is given by the backend that runs it.
#pragma once

#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/Display.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/Glyphs.h"
#include "platform/InstanceLock.h"
#include "platform/OpticalDrives.h"
#include "platform/Ui.h"
#include "platform/Window.h"

namespace qv::platform {

struct Platform {
  Clock& clock;
  Window& window;
  Ui& ui;
  Display& display;
  Files& files;
  Cp932& cp932;
  EventLog& log;
  InstanceLocks& locks;
  OpticalDrives& drives;
  Glyphs& glyphs;
  AudioDevice& audio;
};

}  // namespace qv::platform
