// The arguments of a sprite line, read alike by the sprite command and the game checker.
#pragma once

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/TextRules.h"

namespace qv::script {

struct SpriteArguments {
  int slot = 0;
  int x = 0;
  std::string_view path;  // the rest of the line after the x
};

// "$sprite SLOT X PATH" with single spaces: the slot starts at byte 8. Nothing when the line ends
// before the path's space.
inline std::optional<SpriteArguments> ParseSpriteLine(std::string_view line) {
  constexpr size_t kSlotAt = 8;
  if (line.size() <= kSlotAt) return std::nullopt;
  const size_t slotEnd = line.find(' ', kSlotAt);
  if (slotEnd == std::string_view::npos) return std::nullopt;
  const size_t xEnd = line.find(' ', slotEnd + 1);
  if (xEnd == std::string_view::npos) return std::nullopt;
  SpriteArguments arguments;
  arguments.slot = core::ReadNumber(line.substr(kSlotAt, std::min<size_t>(slotEnd - kSlotAt, 4)));
  arguments.x = core::ReadNumber(line.substr(slotEnd + 1, std::min<size_t>(xEnd - slotEnd - 1, 4)));
  arguments.path = line.substr(xEnd + 1);
  return arguments;
}

}  // namespace qv::script
