// The UI of headless runs: boxes, menus and dialogs answered from the events file, and logged.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "platform/EventLog.h"
#include "platform/Ui.h"
#include "platform/headless/EventScript.h"

namespace qv::platform::headless {

class HeadlessUi final : public Ui {
 public:
  explicit HeadlessUi(EventLog& log) : log_(log) {}
  void SetEventSource(EventSource* source) { source_ = source; }

  // Queued answers: each is taken by the next menu, question or dialog that opens.
  void QueueMenu(uint32_t id) { menus_.push_back(id); }
  void QueueAnswer(BoxAnswer answer) { answers_.push_back(answer); }
  void QueueName(std::optional<std::string> nameOrClose) {
    names_.push_back(std::move(nameOrClose));
  }

  BoxAnswer MessageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
                       BoxIcon icon) override;
  uint32_t PopupMenu(const MenuItem& root, int x, int y) override;
  void AboutBox(const std::string& caption, const std::vector<std::string>& lines,
                const std::string& closeLabel) override;
  int NameEntry(const std::string& caption, const std::string& prompt,
                const std::string& initialText,
                const std::function<NameVerdict(const std::string&)>& onOk) override;

 private:
  EventLog& log_;
  EventSource* source_ = nullptr;
  std::deque<uint32_t> menus_;
  std::deque<BoxAnswer> answers_;
  std::deque<std::optional<std::string>> names_;  // nothing = closed by the close box
};

}  // namespace qv::platform::headless
