// Optical disc drives: which exist, and what the disc in one of them holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qv::platform {

// A drive opened on its disc. It stays open, and the disc usable, until this object is destroyed.
class OpticalDisc {
 public:
  virtual ~OpticalDisc() = default;
  // Whether track `track` (numbered from 1) is on the disc and holds audio. False when the disc
  // has no such track or cannot be asked.
  virtual bool IsAudioTrack(int track) = 0;
};

// Called on the window thread during start-up.
class OpticalDrives {
 public:
  virtual ~OpticalDrives() = default;
  // The system's optical drives, in a stable order; empty when there are none.
  virtual std::vector<std::string> List() = 0;
  // Opens `drive` (a name from List); nothing when it cannot be opened.
  virtual std::unique_ptr<OpticalDisc> Open(const std::string& drive) = 0;
};

// A machine without optical drives: what headless runs use, so that they never depend on the
// hardware they run on.
class NoOpticalDrives final : public OpticalDrives {
 public:
  std::vector<std::string> List() override { return {}; }
  std::unique_ptr<OpticalDisc> Open(const std::string&) override { return nullptr; }
};

}  // namespace qv::platform
