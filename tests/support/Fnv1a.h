// FNV-1a, 64 bits: the checksum the tests pin pictures and frames with; chain calls to hash
// several pieces as one.
#pragma once

#include <cstdint>
#include <span>

namespace qv::test {

inline uint64_t Fnv1a(std::span<const uint8_t> bytes, uint64_t hash = 0xcbf29ce484222325ull) {
  for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

}  // namespace qv::test
