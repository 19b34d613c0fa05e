// The observable-event log of headless runs (events.log); a no-op for players.
#pragma once

#include <string_view>

namespace qv::platform {

class EventLog {
 public:
  virtual ~EventLog() = default;
  // Any thread. `line` is "WORD ..." in UTF-8 without the time or the line end.
  virtual void Write(std::string_view line) = 0;
  // False when writing is pointless (lets callers skip formatting).
  virtual bool Enabled() const = 0;
};

class NullEventLog final : public EventLog {
 public:
  void Write(std::string_view) override {}
  bool Enabled() const override { return false; }
};

}  // namespace qv::platform
