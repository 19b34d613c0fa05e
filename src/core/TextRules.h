// The engine's text rules: the number rule, byte-substring search and Shift-JIS stepping.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::core {

// The number rule of every numeric argument: leading white space, one optional sign, then
// decimal digits up to the first non-digit; no digits give 0. Overflow wraps like a 32-bit
// conversion would rather than being undefined.
int32_t ReadNumber(std::string_view text);

// Case-sensitive byte substring search; npos when absent.
inline size_t FindBytes(std::string_view haystack, std::string_view needle, size_t from = 0) {
  return haystack.find(needle, from);
}
inline bool ContainsBytes(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

// A Shift-JIS lead byte (the first byte of a double-byte character).
inline bool IsSjisLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Substring search that never matches starting on the second byte of a double-byte character.
size_t FindSjis(std::string_view haystack, std::string_view needle);

// The longest prefix of `text` of at most `maxBytes` bytes that does not split a double-byte
// character.
std::string_view CutAtCharBoundary(std::string_view text, size_t maxBytes);

// Text taken from `from` up to (not including) the first byte of `stops`, at most `maxBytes`.
std::string_view TakeUntil(std::string_view text, size_t from, std::string_view stops,
                           size_t maxBytes = std::string_view::npos);

}  // namespace qv::core
