// Little-endian field access and bounded byte-string helpers for the engine's fixed records.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace qv::core {

inline int32_t LoadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 |
                              static_cast<uint32_t>(p[3]) << 24);
}
inline void StoreI32(uint8_t* p, int32_t value) {
  auto v = static_cast<uint32_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
inline int16_t LoadI16(const uint8_t* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}
inline void StoreI16(uint8_t* p, int16_t value) {
  auto v = static_cast<uint16_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// A zero-terminated text field of a fixed record: the bytes up to the first zero.
inline std::string_view FieldText(std::span<const uint8_t> field) {
  const auto* begin = reinterpret_cast<const char*>(field.data());
  size_t n = 0;
  while (n < field.size() && field[n] != 0) ++n;
  return {begin, n};
}

// Clears `field`, then copies at most field.size() - 1 bytes of `text` so a terminator remains.
inline void SetFieldText(std::span<uint8_t> field, std::string_view text) {
  std::memset(field.data(), 0, field.size());
  if (field.empty()) return;
  size_t n = text.size() < field.size() - 1 ? text.size() : field.size() - 1;
  if (n > 0) std::memcpy(field.data(), text.data(), n);
}

}  // namespace qv::core
