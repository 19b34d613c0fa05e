// events.log: one line per observable event, stamped with the virtual time.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/Clock.h"
#include "platform/EventLog.h"

namespace qv::platform::headless {

class FileEventLog final : public EventLog {
 public:
  FileEventLog(Clock& clock, const std::string& path);
  ~FileEventLog() override;
  bool IsOpen() const { return file_ != nullptr; }
  void Write(std::string_view line) override;
  bool Enabled() const override { return file_ != nullptr; }

 private:
  Clock& clock_;
  std::mutex mutex_;
  FILE* file_ = nullptr;
};

}  // namespace qv::platform::headless
