// The saved-game check (see SavedGameFile.h).
#include "core/SavedGameFile.h"

#include <algorithm>

#include "core/Bytes.h"

namespace qv::core {

std::string CheckSavedGame(std::span<const uint8_t> bytes, const ScriptText* script) {
  using GS = GameState;
  if (bytes.size() != GS::kSize) return "not " + std::to_string(GS::kSize) + " bytes";
  struct Field {
    size_t offset, size;
  };
  static constexpr Field kTexts[] = {{GS::kBackgroundNameOffset, GS::kPathSize},
                                     {GS::kSpriteFilesOffset, GS::kPathSize},
                                     {GS::kSpriteFilesOffset + GS::kPathSize, GS::kPathSize},
                                     {GS::kMusicFileNameOffset, GS::kPathSize},
                                     {GS::kPlayerNameOffset, GS::kPlayerNameSize},
                                     {GS::kReturnLabelOffset, GS::kReturnLabelSize}};
  for (const Field& f : kTexts) {
    const auto field = bytes.subspan(f.offset, f.size);
    if (std::find(field.begin(), field.end(), 0) == field.end()) return "unterminated text";
  }
  // The scene title is read up to the end of its field when it has no terminator: the slot list
  // shows it either way, and nothing else relies on it.
  if (!script) return "no script";
  const uint32_t position = static_cast<uint32_t>(LoadI32(bytes.data() + GS::kPositionOffset));
  if (position >= script->size) return "position outside the script";
  const auto& text = script->bytes;
  const bool lineEnd =
      text[position] == '\r' && position + 1 < script->size && text[position + 1] == '\n';
  const bool lineStart = position == 0 || text[position - 1] == '\n';
  if (!lineEnd && !lineStart) return "position inside a line";
  return {};
}

}  // namespace qv::core
