// The UI of headless runs (see HeadlessUi.h).
#include "platform/headless/HeadlessUi.h"

namespace qv::platform::headless {

namespace {

const MenuItem* FindItem(const MenuItem& menu, uint32_t id) {
  for (const MenuItem& item : menu.children) {
    if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
    if (item.kind == MenuItem::Kind::Submenu) {
      if (const MenuItem* found = FindItem(item, id)) return found;
    }
  }
  return nullptr;
}

}  // namespace

BoxAnswer HeadlessUi::MessageBox(const std::string& caption, const std::string& text,
                                 BoxButtons buttons, BoxIcon) {
  BoxAnswer answer = BoxAnswer::Ok;
  if (buttons == BoxButtons::OkCancel) {
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    } else if (source_) {
      // Nothing queued: the question waits for the next event, and anything but an answer
      // leaves the default.
      using Kind = ScriptedEvent::Kind;
      if (auto next = source_->TakeNextIf(Kind::AnswerOk, Kind::AnswerCancel)) {
        answer = next->kind == Kind::AnswerOk ? BoxAnswer::Ok : BoxAnswer::Cancel;
      }
    }
  }
  log_.Write("msgbox " + caption + " | " + text + " -> " +
             (answer == BoxAnswer::Ok ? "ok" : "cancel"));
  return answer;
}

uint32_t HeadlessUi::PopupMenu(const MenuItem& root, int, int) {
  uint32_t chosen = 0;
  if (!menus_.empty()) {
    uint32_t id = menus_.front();
    menus_.pop_front();
    // A player cannot pick what the menu does not offer or shows greyed.
    const MenuItem* item = FindItem(root, id);
    if (item && !item->greyed) chosen = id;
  }
  log_.Write(chosen ? "menu -> " + std::to_string(chosen) : std::string("menu -> none"));
  return chosen;
}

void HeadlessUi::AboutBox(const std::string& caption, const std::vector<std::string>& lines,
                          const std::string&) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  log_.Write("about " + caption + " | " + text);
}

int HeadlessUi::NameEntry(const std::string&, const std::string&, const std::string&,
                          const std::function<NameVerdict(const std::string&)>& onOk) {
  using Kind = ScriptedEvent::Kind;
  for (;;) {
    std::optional<std::string> next;
    if (!names_.empty()) {
      next = names_.front();
      names_.pop_front();
    } else if (auto event =
                   source_ ? source_->TakeNextIf(Kind::Name, Kind::NameClose) : std::nullopt) {
      if (event->kind == Kind::Name) next = event->text;
    } else {
      break;
    }
    if (!next) break;
    NameVerdict verdict = onOk(*next);
    log_.Write("name " + *next + (verdict == NameVerdict::Accept ? " -> ok" : " -> refused"));
    if (verdict == NameVerdict::Accept) return 1;
  }
  log_.Write("name -> closed");
  return 2;
}

}  // namespace qv::platform::headless
