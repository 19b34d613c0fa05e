// What must hold after every event of random play: no hang, no input left busy or load left
// restoring, and every slot file the game writes a saved game that loads again.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/InterpreterGate.h"
#include "core/SavedGameFile.h"
#include "platform/headless/EngineProbe.h"
#include "script/Engine.h"

namespace qv::soak {

class InvariantChecks {
 public:
  // `saveFolder`: the host path of the game's save folder.
  explicit InvariantChecks(std::string saveFolder) : saveFolder_(std::move(saveFolder)) {}

  // Random play moves the script on long before this many events pass.
  static constexpr size_t kStuckEvents = 5000;

  const std::vector<std::string>& Failures() const { return failures_; }
  size_t SlotsChecked() const { return slotsChecked_; }

  // Runner thread, the engine settled; `eventNumber` counts from the soak's first event.
  void AfterEvent(script::Engine& engine, const platform::headless::EventReport& report,
                  size_t eventNumber) {
    if (report.idleTimedOut) Fail(eventNumber, "idle timed out (the game hangs)");
    // A halt for the player with the input still held busy drops every click: the game is stuck.
    const bool halted = engine.script.gate.Halted() != core::HaltReason::None;
    if (halted && engine.input.inputBusy != 0) Fail(eventNumber, "halted with inputBusy set");
    // A load replays its page and ends it within the click; only a close may cut it short.
    if (engine.input.restoringGame != 0 && !engine.services.closing) {
      Fail(eventNumber, "restoringGame still set after the event");
    }
    const uint32_t position = engine.script.position;
    if (position != lastPosition_) {
      lastPosition_ = position;
      positionSince_ = eventNumber;
    } else if (eventNumber - positionSince_ == kStuckEvents) {
      Fail(eventNumber, "the script has not moved for " + std::to_string(kStuckEvents) + " events");
    }
    CheckSlots(engine, eventNumber);
  }

  // After a session has ended: the save folder holds only the settings and the slots, and each
  // slot changed exactly as often as the log says it was written.
  void AfterSession(const std::string& log, size_t eventNumber) {
    std::array<int, 12> written{};
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
      int slot = 0;
      char result[16] = {};
      const size_t at = line.find(" save ");
      if (at != std::string::npos &&
          std::sscanf(line.c_str() + at, " save %d -> %15s", &slot, result) == 2 &&
          std::string(result) == "written" && slot >= 1 && slot <= 12) {
        ++written[static_cast<size_t>(slot - 1)];
      }
      if (line.find(" load ") != std::string::npos && line.ends_with("-> failed")) {
        Fail(eventNumber, "a listed slot failed to load: " + line);
      }
    }
    for (size_t i = 0; i < 12; ++i) {
      if (written[i] != changes_[i]) {
        Fail(eventNumber, SlotName(i + 1) + " logged written " + std::to_string(written[i]) +
                              " times but changed " + std::to_string(changes_[i]) + " times");
      }
    }
    changes_.fill(0);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(saveFolder_, error)) {
      const std::string name = entry.path().filename().string();
      const bool slotFile = name.size() == 10 && name.starts_with("save") && name.ends_with(".sav");
      // Print Screen's pictures live there too; a temporary file left over would not.
      const bool shot = name.starts_with("shot-") && name.ends_with(".png");
      // The engine's own files beside the game's.
      const bool history = name.size() == 10 && name.starts_with("save") && name.ends_with(".bkl");
      const bool own = history || name == "readmarks.dat" || name == "qvplay.ini";
      if (name == "env.dat") {
        if (entry.file_size(error) != 56) Fail(eventNumber, "env.dat is not 56 bytes");
      } else if (!slotFile && !shot && !own) {
        Fail(eventNumber, "stray file in the save folder: " + name);
      }
    }
  }

 private:
  // A slot file's inode, size and modification time (seconds, nanoseconds); none when missing.
  using Stamp = std::optional<std::tuple<ino_t, off_t, time_t, long>>;

  static std::string SlotName(size_t slot) {
    return std::string("save") + (slot < 10 ? "0" : "") + std::to_string(slot) + ".sav";
  }
  void Fail(size_t eventNumber, const std::string& what) {
    failures_.push_back("event " + std::to_string(eventNumber) + ": " + what);
  }
  void CheckSlots(script::Engine& engine, size_t eventNumber) {
    if (auto script = engine.script.Text()) script_ = std::move(script);
    for (size_t slot = 1; slot <= 12; ++slot) {
      const std::string path = saveFolder_ + "/" + SlotName(slot);
      Stamp now;
      struct stat st {};
      if (stat(path.c_str(), &st) == 0) {
        now.emplace(st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
      }
      if (now == seen_[slot - 1]) continue;
      seen_[slot - 1] = now;
      if (!now) {
        Fail(eventNumber, SlotName(slot) + " disappeared");
        continue;
      }
      ++changes_[slot - 1];
      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
      const std::string why = core::CheckSavedGame(bytes, script_.get());
      if (!why.empty()) Fail(eventNumber, SlotName(slot) + " does not load: " + why);
      ++slotsChecked_;
    }
  }

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
