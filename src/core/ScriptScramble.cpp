// Recognising the key of a scrambled scenario file by its line ends.
#include "core/ScriptScramble.h"

#include <array>

namespace qv::core {

std::optional<uint8_t> DetectScriptKey(std::span<const uint8_t> scrambled) {
  // CR ^ LF is the same under every key, so a pair (a, b) with a ^ b == 0x07 is a candidate line
  // end, and a ^ 0x0D its key. Counting candidates per key finds the key in one pass.
  std::array<uint32_t, 256> pairs{};
  for (size_t i = 0; i + 1 < scrambled.size(); ++i) {
    if ((scrambled[i] ^ scrambled[i + 1]) == (0x0D ^ 0x0A)) ++pairs[scrambled[i] ^ 0x0D];
  }
  if (pairs[kScriptKey] > 0) return kScriptKey;
  size_t best = 0;
  for (size_t k = 1; k < 256; ++k) {
    if (pairs[k] > pairs[best]) best = k;
  }
  if (pairs[best] == 0) return std::nullopt;
  return static_cast<uint8_t>(best);
}

}  // namespace qv::core
