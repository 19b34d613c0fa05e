// The names of atomic replacement's temporary files (see TemporaryNames.h).
#include "platform/TemporaryNames.h"

#include <algorithm>

namespace qv::platform {

bool IsTemporaryName(std::string_view fileName) {
  const size_t tail = kTemporaryInfix.size() + kTemporaryRandomLength;
  if (fileName.size() <= tail) return false;
  std::string_view suffix = fileName.substr(fileName.size() - tail);
  if (!suffix.starts_with(kTemporaryInfix)) return false;
  suffix.remove_prefix(kTemporaryInfix.size());
  return std::all_of(suffix.begin(), suffix.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

}  // namespace qv::platform
