// The clock of real play: the steady system clock, waits on a condition variable.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/Clock.h"

namespace qv::platform {

class RealClock final : public Clock {
 public:
  RealClock();
  uint64_t nowMs() override;
  bool await(const Condition& ready, std::optional<uint64_t> deadlineMs) override;
  void update(const std::function<void()>& change) override;
  void requestStop() override;
  bool stopRequested() override;
  void yield() override;

 private:
  using Steady = std::chrono::steady_clock;
  Steady::time_point start_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
};

}  // namespace qv::platform
