// The text history: the lines the message window showed, page by page, each with its voice.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qv::core {

struct HistoryLine {
  std::string text;   // as typed, the name put in (code page 932)
  std::string voice;  // the game's part of the voice file's path; empty for none
  bool operator==(const HistoryLine&) const = default;
};
using HistoryPage = std::vector<HistoryLine>;

// Written by the interpreter as it types, and by the window thread only while the interpreter is
// halted (a load replaces it); read by either. The mutex makes each call whole, so a reader never
// sees a page half added.
class TextHistory {
 public:
  static constexpr size_t kMaxPages = 100;

  // The voice a `talk` started goes with the next line typed.
  void NoteVoice(std::string_view gamePart);
  // One line typed; `newPage` when the message window started a page for it. The oldest page
  // goes once more than kMaxPages are held.
  void AddLine(bool newPage, std::string_view text);
  void Clear();
  // Oldest first; the excess oldest pages are dropped.
  void Replace(std::vector<HistoryPage> pages);

  std::vector<HistoryPage> Pages() const;
  size_t PageCount() const;

 private:
  void TrimLocked();

  mutable std::mutex mutex_;
  std::deque<HistoryPage> pages_;
  std::string pendingVoice_;
};

}  // namespace qv::core
