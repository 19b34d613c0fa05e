// The window thread's request queue (see MessageQueue.h).
#include "platform/common/MessageQueue.h"

namespace qv::platform {

int32_t MessageQueue::Enqueue(std::shared_ptr<Entry> entry) {
  clock_.update([&] { entries_.push_back(entry); });
  if (wake_) wake_();
  if (!entry->awaited) return 0;
  // The entry is shared: when a stop interrupts the sender, the window thread may still handle
  // the request and write its result into an entry nobody reads any more.
  clock_.await([&] { return entry->done; }, std::nullopt);
  return entry->result;
}

int32_t MessageQueue::Send(const Message& message) {
  auto entry = std::make_shared<Entry>();
  entry->message = message;
  entry->awaited = true;
  return Enqueue(std::move(entry));
}

int32_t MessageQueue::Call(const std::function<int32_t()>& work) {
  auto entry = std::make_shared<Entry>();
  entry->work = work;
  entry->awaited = true;
  return Enqueue(std::move(entry));
}

void MessageQueue::Post(const Message& message) {
  auto entry = std::make_shared<Entry>();
  entry->message = message;
  Enqueue(std::move(entry));
}

bool MessageQueue::DispatchPending(WindowProcedure& procedure) {
  bool any = false;
  for (;;) {
    std::shared_ptr<Entry> entry;
    clock_.update([&] {
      if (!entries_.empty()) {
        entry = entries_.front();
        entries_.pop_front();
      }
    });
    if (!entry) return any;
    any = true;
    int32_t result = entry->work ? entry->work() : procedure.HandleMessage(entry->message);
    clock_.update([&] {
      entry->result = result;
      entry->done = true;
    });
  }
}

bool MessageQueue::HasPending(bool locked) {
  if (locked) return !entries_.empty();
  bool pending = false;
  clock_.update([&] { pending = !entries_.empty(); });
  return pending;
}

}  // namespace qv::platform
