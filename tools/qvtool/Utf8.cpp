// Reading UTF-8 strictly: where it breaks, what a character is, how many characters a span holds.
#include "qvtool/Utf8.h"

namespace qv::tool {

std::optional<Utf8Character> DecodeUtf8Character(std::string_view text, size_t offset) {
  if (offset >= text.size()) return std::nullopt;
  const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[offset + i]); };
  const unsigned char lead = byteAt(0);
  if (lead < 0x80) return Utf8Character{lead, 1};
  size_t length;
  char32_t codePoint;
  char32_t smallest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (offset + length > text.size()) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    if ((byteAt(i) & 0xC0) != 0x80) return std::nullopt;
    codePoint = (codePoint << 6) | (byteAt(i) & 0x3F);
  }
  if (codePoint < smallest || codePoint > 0x10FFFF) return std::nullopt;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return std::nullopt;
  return Utf8Character{codePoint, length};
}

std::optional<size_t> FindMalformedUtf8(std::string_view text) {
  size_t offset = 0;
  while (offset < text.size()) {
    // ASCII runs are the bulk of a script; skip them without decoding.
    if (static_cast<unsigned char>(text[offset]) < 0x80) {
      ++offset;
      continue;
    }
    auto character = DecodeUtf8Character(text, offset);
    if (!character) return offset;
    offset += character->length;
  }
  return std::nullopt;
}

size_t CountUtf8Characters(std::string_view text) {
  size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace qv::tool
