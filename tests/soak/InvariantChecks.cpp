// The per-event checks of random play (see InvariantChecks.h).
#include "soak/InvariantChecks.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/GameState.h"
#include "core/InputState.h"
#include "core/InterpreterGate.h"
#include "core/SavedGameFile.h"

namespace qv::soak {

namespace {

bool LegalScreen(core::ScreenMode mode) {
  using core::ScreenMode;
  switch (mode) {
    case ScreenMode::Game:
    case ScreenMode::Choice:
    case ScreenMode::Save:
    case ScreenMode::Load:
    case ScreenMode::LoadTitle:
      return true;
  }
  return false;
}

bool LegalAdvance(core::AdvanceMode mode) {
  using core::AdvanceMode;
  switch (mode) {
    case AdvanceMode::Normal:
    case AdvanceMode::Skip:
    case AdvanceMode::Auto:
      return true;
  }
  return false;
}

std::string SlotName(int slot) {
  return std::string("save") + (slot < 10 ? "0" : "") + std::to_string(slot) + ".sav";
}

}  // namespace

bool InvariantChecks::Stamp::operator==(const Stamp& other) const {
  return exists == other.exists && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

InvariantChecks::InvariantChecks(std::string saveFolder) : saveFolder_(std::move(saveFolder)) {}

void InvariantChecks::Fail(size_t eventNumber, const std::string& what) {
  failures_.push_back("event " + std::to_string(eventNumber) + ": " + what);
}

void InvariantChecks::AfterEvent(script::Engine& engine,
                                 const platform::headless::EventReport& report,
                                 size_t eventNumber) {
  if (report.idleTimedOut) Fail(eventNumber, "idle timed out (the game hangs)");
  const auto screen = engine.input.screenMode.load();
  if (!LegalScreen(screen)) Fail(eventNumber, "screenMode " + std::to_string(int(screen)));
  const auto previous = engine.input.previousScreenMode.load();
  if (!LegalScreen(previous)) {
    Fail(eventNumber, "previousScreenMode " + std::to_string(int(previous)));
  }
  const auto advance = engine.input.advanceMode.load();
  if (!LegalAdvance(advance)) Fail(eventNumber, "advanceMode " + std::to_string(int(advance)));
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

void InvariantChecks::CheckSlots(script::Engine& engine, size_t eventNumber) {
  if (auto script = engine.script.Text()) script_ = std::move(script);
  for (int slot = 1; slot <= 12; ++slot) {
    const std::string path = saveFolder_ + "/" + SlotName(slot);
    Stamp now;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
      now = Stamp{true, st.st_ino, st.st_size, st.st_mtim};
    }
    Stamp& before = seen_[static_cast<size_t>(slot - 1)];
    if (now == before) continue;
    before = now;
    if (!now.exists) {
      Fail(eventNumber, SlotName(slot) + " disappeared");
      continue;
    }
    ++changes_[static_cast<size_t>(slot - 1)];
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.size() != core::GameState::kSize) {
      Fail(eventNumber, SlotName(slot) + " is " + std::to_string(bytes.size()) + " bytes");
      continue;
    }
    const std::string why = core::CheckSavedGame(bytes, script_.get());
    if (!why.empty()) Fail(eventNumber, SlotName(slot) + " does not load: " + why);
    ++slotsChecked_;
  }
}

void InvariantChecks::AfterSession(const std::string& log, size_t eventNumber) {
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
      Fail(eventNumber, SlotName(static_cast<int>(i + 1)) + " logged written " +
                            std::to_string(written[i]) + " times but changed " +
                            std::to_string(changes_[i]) + " times");
    }
  }
  changes_.fill(0);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(saveFolder_, error)) {
    const std::string name = entry.path().filename().string();
    const bool slotFile = name.size() == 10 && name.starts_with("save") && name.ends_with(".sav");
    // Print Screen's pictures live there too; a temporary file left over would not.
    const bool shot = name.starts_with("shot-") && name.ends_with(".png");
    if (shot) continue;
    if (name == "env.dat") {
      if (entry.file_size(error) != 56) Fail(eventNumber, "env.dat is not 56 bytes");
    } else if (!slotFile) {
      Fail(eventNumber, "stray file in the save folder: " + name);
    }
  }
}

}  // namespace qv::soak
