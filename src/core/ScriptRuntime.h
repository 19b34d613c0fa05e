// The script runtime: the scenario text, the interpreter's position and gate, and the records the
// script builds (the game state, the choice table, the random state).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/ChoiceTable.h"
#include "core/GameState.h"
#include "core/InterpreterGate.h"

namespace qv::core {

// The unscrambled scenario: the file's bytes, then the end marker 0x03, then a zero byte.
struct ScriptText {
  static constexpr uint8_t kEndMarker = 0x03;
  std::vector<uint8_t> bytes;
  uint32_t size = 0;  // the file's size, without the marker
  uint8_t key = 0;    // the key it was unscrambled with

  std::string_view View() const {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
  }
};

class ScriptRuntime {
 public:
  explicit ScriptRuntime(platform::Clock& clock) : gate(clock) {}
  ScriptRuntime(const ScriptRuntime&) = delete;
  ScriptRuntime& operator=(const ScriptRuntime&) = delete;

  // The text is replaced by the return to the title while the interpreter may be reading it, so
  // readers take a reference-counted snapshot. Any thread.
  std::shared_ptr<const ScriptText> Text() const {
    std::lock_guard lock(mutex_);
    return text_;
  }
  void SetText(std::shared_ptr<const ScriptText> text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }

  // The byte the interpreter reads next. The interpreter moves it; the window thread moves it only
  // while the interpreter is halted (a load, a choice pick, the return to the title).
  std::atomic<uint32_t> position{0};
  InterpreterGate gate;

  // The saved record and the choice list. The interpreter writes them while it runs; the window
  // thread reads them, and writes them only while the interpreter is halted.
  GameState state;
  ChoiceTable choices;

  // Interpreter thread only.
  uint32_t randomState = 0;
  uint32_t syncStartTime = 0;
  // Set by syncstart, cleared by syncexit and the return to the title. Either thread.
  std::atomic<int32_t> syncActive{0};

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const ScriptText> text_;
};

}  // namespace qv::core
