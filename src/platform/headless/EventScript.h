// The events file of a headless run: one scripted input or instruction a line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::platform::headless {

struct ScriptedEvent {
  enum class Kind {
    Click,
    RightClick,
    Move,
    Key,
    KeyDown,
    Wheel,
    Pad,  // value: the button; x: 1 a press, 0 a release, 2 both
    PadPlug,
    PadUnplug,
    Wait,
    Idle,
    Menu,
    AnswerOk,
    AnswerCancel,
    Name,
    NameClose,
    Shot,
    State,
    Close
  };
  Kind kind = Kind::Idle;
  int x = 0, y = 0;    // click, rclick, move
  uint32_t value = 0;  // key code, wait milliseconds, menu id, wheel notches (signed), pad button
  std::string text;    // name text (UTF-8), shot and state names
  int line = 0;        // line in the events file, for messages
};

// The runner's remaining events, as a modal box sees them: a box that opens with no answer queued
// stays open for the next event, which answers it when it is of the right kind.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Takes the next event when it is of kind `a` or `b`; nothing otherwise (or when none is left).
  virtual std::optional<ScriptedEvent> TakeNextIf(ScriptedEvent::Kind a, ScriptedEvent::Kind b) = 0;
};

// Parses the whole events text. On a bad line returns false with "LINE: reason" in `error`.
bool ParseEventScript(const std::string& text, std::vector<ScriptedEvent>& events,
                      std::string& error);

}  // namespace qv::platform::headless
