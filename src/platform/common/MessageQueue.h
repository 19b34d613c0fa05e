// The window thread's queue of requests from other threads: sends, calls and posts.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/Message.h"

namespace qv::platform {

// Shared by the backends. The queue is guarded by the clock's lock, so a sender's wait for its
// reply is a clock wait like any other (a virtual clock sees it; a stop interrupts it).
class MessageQueue {
 public:
  explicit MessageQueue(Clock& clock) : clock_(clock) {}

  // Any thread but the window thread: queue and wait for the window procedure's result.
  int32_t Send(const Message& message);
  int32_t Call(const std::function<int32_t()>& work);
  // Any thread: queue without waiting.
  void Post(const Message& message);

  // Window thread: handles the entries queued so far, in order. Returns true if any was handled.
  bool DispatchPending(WindowProcedure& procedure);
  // Any thread. Takes the clock's lock unless `locked` says the caller holds it already.
  bool HasPending(bool locked = false);

  // Called (without the clock's lock) after something was queued; backends use it to wake their
  // event loop.
  void SetWakeHook(std::function<void()> hook) { wake_ = std::move(hook); }

 private:
  struct Entry {
    Message message;
    std::function<int32_t()> work;
    bool awaited = false;
    bool done = false;
    int32_t result = 0;
  };
  int32_t Enqueue(std::shared_ptr<Entry> entry);

  Clock& clock_;
  std::deque<std::shared_ptr<Entry>> entries_;  // guarded by the clock's lock
  std::function<void()> wake_;
};

}  // namespace qv::platform
