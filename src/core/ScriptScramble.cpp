// Recognising the key of a scrambled scenario file by its line ends.
#include "core/ScriptScramble.h"

#include <algorithm>
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
  // Two letters can differ by 0x07 too ("in"), so a key must also turn the whole file into
  // text: no control bytes but tab, CR and LF. Under a wrong key letters become control bytes.
  auto isText = [&](uint8_t key) {
    return std::none_of(scrambled.begin(), scrambled.end(), [key](uint8_t b) {
      uint8_t c = b ^ key;
      return c < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
  };
  std::array<uint8_t, 256> keys{};
  for (size_t k = 0; k < 256; ++k) keys[k] = static_cast<uint8_t>(k);
  std::stable_sort(keys.begin(), keys.end(),
                   [&](uint8_t a, uint8_t b) { return pairs[a] > pairs[b]; });
  for (uint8_t key : keys) {
    if (pairs[key] == 0) break;
    if (isText(key)) return key;
  }
  return std::nullopt;
}

}  // namespace qv::core
