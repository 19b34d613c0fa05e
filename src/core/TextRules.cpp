// The engine's text rules (see TextRules.h).
#include "core/TextRules.h"

namespace qv::core {

int32_t ReadNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    ++i;
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

size_t FindSjis(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return 0;
  for (size_t i = 0; i + needle.size() <= haystack.size();) {
    if (haystack.compare(i, needle.size(), needle) == 0) return i;
    i += IsSjisLeadByte(static_cast<uint8_t>(haystack[i])) ? 2 : 1;
  }
  return std::string_view::npos;
}

std::string_view CutAtCharBoundary(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < maxBytes) {
    size_t step = IsSjisLeadByte(static_cast<uint8_t>(text[end])) ? 2 : 1;
    if (end + step > maxBytes) break;
    end += step;
  }
  return text.substr(0, end);
}

std::string_view TakeUntil(std::string_view text, size_t from, std::string_view stops,
                           size_t maxBytes) {
  if (from >= text.size()) return {};
  size_t end = text.find_first_of(stops, from);
  if (end == std::string_view::npos) end = text.size();
  size_t n = end - from;
  if (n > maxBytes) n = maxBytes;
  return text.substr(from, n);
}

}  // namespace qv::core
