// One soak: a seed's random play of a game, session after session until its events are used up,
// with the invariants checked after every event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv::soak {

struct SoakOptions {
  uint64_t seed = 1;
  size_t events = 1000;
  std::string gameDir;  // copied into the work folder, so the original's saves stay as they are
  std::string workDir;  // an empty folder of the soak's own
  int watchdogSeconds = 120;  // real time without a finished event that counts as a hang
};

struct SoakResult {
  size_t eventsRun = 0;
  int sessions = 0;
  int savesWritten = 0;
  size_t slotsChecked = 0;  // slot files read back and found loadable
  int loads = 0;
  int picks = 0;
  int menuPicks = 0;
  std::vector<std::string> failures;  // "event N: what broke"
  std::string log;                    // every session's events.log, one after another
};

SoakResult RunSoak(const SoakOptions& options);

// The log with each slot's date (the file's wall-clock time) blanked: what two runs of one seed
// must agree on.
std::string WithoutSlotDates(const std::string& log);

}  // namespace qv::soak
