// The engine's one random generator: the `random` command seeds it, the ragged wipe draws from it.
#pragma once

#include <cstdint>

#include <cstdint>

namespace qv::core {

// The next number, 0-32767, of the C library's classic rand() sequence kept in `state`.
inline uint32_t DrawRandom(uint32_t& state) {
  state = state * 214013u + 2531011u;
  return (state >> 16) & 0x7FFF;
}

}  // namespace qv::core
