// What must hold after every event of random play: legal modes, no hang, and every slot file
// the game writes a saved game that loads again.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/EngineProbe.h"
#include "script/Engine.h"

namespace qv::soak {

class InvariantChecks {
 public:
  // `saveFolder`: the host path of the game's save folder.
  explicit InvariantChecks(std::string saveFolder);

  // Runner thread, the engine settled; `eventNumber` counts from the soak's first event.
  void AfterEvent(script::Engine& engine, const platform::headless::EventReport& report,
                  size_t eventNumber);
  // After a session has ended: the save folder holds only the settings and the slots, and each
  // slot changed exactly as often as the log says it was written.
  void AfterSession(const std::string& log, size_t eventNumber);
  // Random play moves the script on long before this many events pass.
  static constexpr size_t kStuckEvents = 5000;

  const std::vector<std::string>& Failures() const { return failures_; }
  size_t SlotsChecked() const { return slotsChecked_; }

 private:
  struct Stamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const Stamp& other) const;
  };
  void Fail(size_t eventNumber, const std::string& what);
  void CheckSlots(script::Engine& engine, size_t eventNumber);

  std::string saveFolder_;
  // The script the slots are checked against, kept while the engine shuts down.
  std::shared_ptr<const core::ScriptText> script_;
  uint32_t lastPosition_ = 0;
  size_t positionSince_ = 0;  // the event number at which the position last moved
  std::array<Stamp, 12> seen_{};
  std::array<int, 12> changes_{};  // since the session began
  size_t slotsChecked_ = 0;
  std::vector<std::string> failures_;
};

}  // namespace qv::soak
