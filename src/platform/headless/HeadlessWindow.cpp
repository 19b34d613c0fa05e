// The headless runner (see HeadlessWindow.h).
#include "platform/headless/HeadlessWindow.h"

#include <cstdio>

#include "platform/common/PngEncoder.h"

namespace qv::platform::headless {

namespace {

constexpr uint64_t kIdleLimitMs = 600000;
constexpr uint32_t kKeyUpFlags = 0xC0000001;    // repeat count 1, previous state down, released
constexpr uint32_t kKeyDownFlags = 0x00000001;  // repeat count 1, previous state up

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

HeadlessWindow::HeadlessWindow(VirtualClock& clock, HeadlessUi& ui, EventLog& log,
                               std::string outDir)
    : clock_(clock), ui_(ui), log_(log), outDir_(std::move(outDir)), queue_(clock) {}

bool HeadlessWindow::Create(const std::string&, int width, int height) {
  width_ = width;
  height_ = height;
  picture_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
  return true;
}

int32_t HeadlessWindow::Send(const Message& message) {
  if (IsWindowThread()) return procedure_ ? procedure_->HandleMessage(message) : 0;
  return queue_.Send(message);
}

int32_t HeadlessWindow::Call(const std::function<int32_t()>& work) {
  if (IsWindowThread()) return work();
  return queue_.Call(work);
}

void HeadlessWindow::Post(const Message& message) {
  queue_.Post(message);
}

void HeadlessWindow::DispatchPendingRequests() {
  if (procedure_) queue_.DispatchPending(*procedure_);
}

void HeadlessWindow::PostQuit(int exitCode) {
  quit_ = true;
  exitCode_ = exitCode;
}

void HeadlessWindow::SetTimer(uint32_t id, uint32_t periodMs) {
  if (periodMs == 0) periodMs = 1;
  timers_[id] = Timer{periodMs, clock_.nowMs() + periodMs};
}

void HeadlessWindow::KillTimer(uint32_t id) {
  timers_.erase(id);
}

void HeadlessWindow::SetClipboardText(const std::string& utf8) {
  std::string line = "clipboard ";
  for (char c : utf8) line += c == '\n' ? std::string("\\n") : std::string(1, c);
  log_.Write(line);
}

void HeadlessWindow::Deliver(uint32_t id, uint32_t wParam, uint32_t lParam) {
  Message message;
  message.id = id;
  message.wParam = wParam;
  message.lParam = lParam;
  procedure_->HandleMessage(message);
}

void HeadlessWindow::Pump() {
  // Every engine thread runs until it waits; requests they queued meanwhile are handled here,
  // which may let them run again, until nothing is left to do at this instant.
  while (!quit_) {
    clock_.Settle(nullptr);
    if (!queue_.HasPending()) return;
    queue_.DispatchPending(*procedure_);
  }
}

std::optional<uint64_t> HeadlessWindow::NextTimerDue() const {
  std::optional<uint64_t> next;
  for (const auto& [id, timer] : timers_) {
    if (!next || timer.nextDue < *next) next = timer.nextDue;
  }
  return next;
}

void HeadlessWindow::FireDueTimers() {
  uint64_t now = clock_.nowMs();
  for (auto& [id, timer] : timers_) {
    if (quit_) return;
    if (timer.nextDue <= now) {
      timer.nextDue += timer.period;
      Deliver(MSG_TIMER, id, 0);
      Pump();
    }
  }
}

bool HeadlessWindow::PassTime(uint64_t limit, bool untilHalted) {
  for (;;) {
    Pump();
    if (quit_) return true;
    if (untilHalted && probe_ && probe_->HaltedForPlayer()) return true;
    std::optional<uint64_t> next = clock_.EarliestDeadline();
    std::optional<uint64_t> timer = NextTimerDue();
    if (timer && (!next || *timer < *next)) next = timer;
    if (!next || *next > limit) {
      clock_.AdvanceTo(limit);
      Pump();
      return false;
    }
    clock_.AdvanceTo(*next);
    FireDueTimers();
  }
}

bool HeadlessWindow::Perform(const ScriptedEvent& event) {
  using Kind = ScriptedEvent::Kind;
  bool timedOut = false;
  switch (event.kind) {
    case Kind::Click:
      cursor_ = MakePoint(event.x, event.y);
      Deliver(MSG_LBUTTONUP, 0, cursor_);
      break;
    case Kind::RightClick:
      cursor_ = MakePoint(event.x, event.y);
      Deliver(MSG_RBUTTONUP, 0, cursor_);
      break;
    case Kind::Move:
      cursor_ = MakePoint(event.x, event.y);
      Deliver(MSG_MOUSEMOVE, 0, cursor_);
      break;
    case Kind::Key:
      Deliver(MSG_KEYUP, event.value, kKeyUpFlags);
      break;
    case Kind::KeyDown:
      Deliver(MSG_KEYDOWN, event.value, kKeyDownFlags);
      break;
    case Kind::Wheel:
      Deliver(MSG_MOUSEWHEEL, event.value, cursor_);
      break;
    case Kind::Pad:
      // A desktop reports no buttons of a pad it does not have.
      if (!padPlugged_) {
        log_.Write("pad none");
        break;
      }
      if (event.x != 0) Deliver(MSG_PAD_BUTTON, event.value, 1);
      if (event.x != 1) {
        Pump();
        Deliver(MSG_PAD_BUTTON, event.value, 0);
      }
      break;
    case Kind::PadPlug:
    case Kind::PadUnplug:
      padPlugged_ = event.kind == Kind::PadPlug;
      Deliver(MSG_PAD_PLUG, padPlugged_ ? 1 : 0, 0);
      break;
    case Kind::Wait:
      PassTime(clock_.nowMs() + event.value, false);
      break;
    case Kind::Idle:
      if (!PassTime(clock_.nowMs() + kIdleLimitMs, true) && !quit_) {
        log_.Write("idle timeout");
        timedOut = true;
      }
      break;
    case Kind::Menu:
      ui_.QueueMenu(event.value);
      break;
    case Kind::AnswerOk:
      ui_.QueueAnswer(BoxAnswer::Ok);
      break;
    case Kind::AnswerCancel:
      ui_.QueueAnswer(BoxAnswer::Cancel);
      break;
    case Kind::Name:
      ui_.QueueName(event.text);
      break;
    case Kind::NameClose:
      ui_.QueueName(std::nullopt);
      break;
    case Kind::Shot:
      if (!WriteFileBytes(outDir_ + "/" + event.text + ".png",
                          platform::EncodePng(picture_.data(), width_, height_))) {
        log_.Write("shot failed " + event.text);
      }
      break;
    case Kind::State: {
      std::string json = probe_ ? probe_->StateJson() : "{}";
      if (!WriteFileBytes(outDir_ + "/" + event.text + ".json",
                          std::vector<uint8_t>(json.begin(), json.end()))) {
        log_.Write("state failed " + event.text);
      }
      break;
    }
    case Kind::Close:
      Deliver(MSG_CLOSE, 0, 0);
      break;
  }
  return timedOut;
}

void HeadlessWindow::PerformAndReport(const ScriptedEvent& event) {
  const bool timedOut = Perform(event);
  Pump();
  if (probe_) probe_->AfterEvent(EventReport{event, nextEvent_, timedOut});
}

ScriptedEvent HeadlessWindow::TakeNext() {
  reachedAt_.reset();
  return events_[nextEvent_++];
}

std::optional<ScriptedEvent> HeadlessWindow::TakeNextIf(ScriptedEvent::Kind a,
                                                        ScriptedEvent::Kind b) {
  if (nextEvent_ >= events_.size()) return std::nullopt;
  const ScriptedEvent& next = events_[nextEvent_];
  if (next.kind != a && next.kind != b) return std::nullopt;
  return TakeNext();
}

std::optional<Message> HeadlessWindow::TakePendingInput() {
  using Kind = ScriptedEvent::Kind;
  // As before any event the runner delivers: the engine's threads first run until they wait.
  clock_.Settle(nullptr);
  const uint64_t now = clock_.nowMs();
  // A wait counts from the moment the script reached it; the next event is reached when it
  // ends, so time spent here is not waited for again in the loop.
  while (nextEvent_ < events_.size() && events_[nextEvent_].kind == Kind::Wait) {
    if (!reachedAt_) reachedAt_ = now;
    const uint64_t end = *reachedAt_ + events_[nextEvent_].value;
    if (now < end) break;
    TakeNext();
    reachedAt_ = end;
  }
  if (nextEvent_ < events_.size()) {
    const ScriptedEvent& next = events_[nextEvent_];
    std::optional<Message> input;
    switch (next.kind) {
      case Kind::Click:
        input = Message{MSG_LBUTTONUP, 0, MakePoint(next.x, next.y)};
        break;
      case Kind::RightClick:
        input = Message{MSG_RBUTTONUP, 0, MakePoint(next.x, next.y)};
        break;
      case Kind::Move:
        input = Message{MSG_MOUSEMOVE, 0, MakePoint(next.x, next.y)};
        break;
      case Kind::Key:
        input = Message{MSG_KEYUP, next.value, kKeyUpFlags};
        break;
      // The logo swallows these as it does clicks; a pad's plug is no input and waits for the loop.
      case Kind::KeyDown:
        input = Message{MSG_KEYDOWN, next.value, kKeyDownFlags};
        break;
      case Kind::Wheel:
        input = Message{MSG_MOUSEWHEEL, next.value, cursor_};
        break;
      case Kind::Pad:
        if (padPlugged_) input = Message{MSG_PAD_BUTTON, next.value, next.x == 0 ? 0u : 1u};
        break;
      default:
        break;
    }
    if (input) {
      if (input->id == MSG_LBUTTONUP || input->id == MSG_RBUTTONUP || input->id == MSG_MOUSEMOVE)
        cursor_ = input->lParam;
      TakeNext();
      return input;
    }
  }
  // Timer ticks come after input, as in the original's queue; one taken here is not replayed
  // when the loop starts, so the timer's ticks are not bunched up at the logo's end.
  for (auto& [id, timer] : timers_) {
    if (timer.nextDue <= now) {
      timer.nextDue = now + timer.period;
      return Message{MSG_TIMER, id, 0};
    }
  }
  return std::nullopt;
}

int HeadlessWindow::RunMessageLoop(WindowProcedure& procedure) {
  procedure_ = &procedure;
  while (nextEvent_ < events_.size()) {
    Pump();
    if (quit_) break;
    if (nextEvent_ >= events_.size()) break;  // a modal box took the last event
    const std::optional<uint64_t> reached = reachedAt_;
    ScriptedEvent event = TakeNext();
    // A wait the script reached before the loop began has partly passed already.
    if (event.kind == ScriptedEvent::Kind::Wait && reached) {
      const uint64_t end = *reached + event.value, now = clock_.nowMs();
      event.value = end > now ? static_cast<uint32_t>(end - now) : 0;
    }
    PerformAndReport(event);
    if (quit_) break;
  }
  if (!quit_) PerformAndReport(ScriptedEvent{ScriptedEvent::Kind::Idle, 0, 0, 0, {}, 0});
  if (!quit_) PerformAndReport(ScriptedEvent{ScriptedEvent::Kind::Close, 0, 0, 0, {}, 0});
  Pump();
  procedure_ = nullptr;
  return exitCode_;
}

}  // namespace qv::platform::headless
