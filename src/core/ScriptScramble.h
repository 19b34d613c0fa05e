// The scenario file's scramble: every byte XOR-ed with one key, shared by the engine and qvtool.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace qv::core {

// The key this build writes and expects. Game makers encoding scripts by other means XOR every
// byte of the Shift-JIS text with this value.
inline constexpr uint8_t kScriptKey = 0x5A;

inline void XorBytes(std::span<uint8_t> bytes, uint8_t key) {
  for (uint8_t& b : bytes) b ^= key;
}

// The one-byte key under which `scrambled` shows CR LF line ends: kScriptKey when it does, else
// the key that gives the most CR LF pairs and text without control bytes. Nothing when no key
// does (a one-line script), in which case callers keep kScriptKey.
std::optional<uint8_t> DetectScriptKey(std::span<const uint8_t> scrambled);

}  // namespace qv::core
