// The text history's pages (see TextHistory.h).
#include "core/TextHistory.h"

#include <utility>

namespace qv::core {

void TextHistory::NoteVoice(std::string_view gamePart) {
  std::lock_guard lock(mutex_);
  pendingVoice_.assign(gamePart);
}

void TextHistory::AddLine(bool newPage, std::string_view text) {
  std::lock_guard lock(mutex_);
  if (newPage || pages_.empty()) pages_.emplace_back();
  pages_.back().push_back({std::string(text), std::exchange(pendingVoice_, {})});
  TrimLocked();
}

void TextHistory::Clear() {
  std::lock_guard lock(mutex_);
  pages_.clear();
  pendingVoice_.clear();
}

void TextHistory::Replace(std::vector<HistoryPage> pages) {
  std::lock_guard lock(mutex_);
  pages_.assign(std::make_move_iterator(pages.begin()), std::make_move_iterator(pages.end()));
  pendingVoice_.clear();
  TrimLocked();
}

std::vector<HistoryPage> TextHistory::Pages() const {
  std::lock_guard lock(mutex_);
  return {pages_.begin(), pages_.end()};
}

size_t TextHistory::PageCount() const {
  std::lock_guard lock(mutex_);
  return pages_.size();
}

void TextHistory::TrimLocked() {
  while (pages_.size() > kMaxPages) pages_.pop_front();
}

}  // namespace qv::core
