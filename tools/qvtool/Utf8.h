// Reading UTF-8 strictly: where it breaks, what a character is, how many characters a span holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qv::tool {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The code point starting at `offset` and its length in bytes, or nothing when the bytes there
// are not a well-formed character (overlong forms, surrogates and values past U+10FFFF included).
struct Utf8Character {
  char32_t codePoint;
  size_t length;
};
std::optional<Utf8Character> DecodeUtf8Character(std::string_view text, size_t offset);

// The byte offset of the first malformed sequence, or nothing when all of `text` is UTF-8.
std::optional<size_t> FindMalformedUtf8(std::string_view text);

// Characters in `text`, which must be well-formed UTF-8.
size_t CountUtf8Characters(std::string_view text);

}  // namespace qv::tool
