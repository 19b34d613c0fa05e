// What the command handlers share: the argument of a line, the whole game path of it
// (core/GamePath.h) and the guard that keeps input off while a line works (core/InputState.h).
#pragma once

#include <optional>
#include <string_view>

#include "core/GamePath.h"
#include "core/InputState.h"

namespace qv::script {

// Everything after the line's first blank; nothing when it has none (most commands then do
// nothing, apart from the keyword searches over the whole line).
inline std::optional<std::string_view> ArgumentOf(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  return line.substr(space + 1);
}

// The argument, or an empty text when the line has none.
inline std::string_view ArgumentText(std::string_view line) {
  return ArgumentOf(line).value_or(std::string_view{});
}

}  // namespace qv::script
