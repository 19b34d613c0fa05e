// The text history as a file beside a saved game (saveNN.bkl): a small versioned binary image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/TextHistory.h"

namespace qv::core {

// "QVBL", version 1, the page count, then per page its line count and per line its text and its
// voice, each as a 32-bit length and its bytes; all numbers little-endian.
std::vector<uint8_t> HistoryFileBytes(const std::vector<HistoryPage>& pages);

// The pages of a file HistoryFileBytes wrote; nothing for a foreign or damaged one (another magic
// or version, short, overlong counts or lengths, bytes after the end).
std::optional<std::vector<HistoryPage>> ReadHistoryFileBytes(std::span<const uint8_t> bytes);

}  // namespace qv::core
