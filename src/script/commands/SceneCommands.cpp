// The script's picture commands: backgrounds, fills, sprites, rectangle copies, transitions and
// the message window.
#include <string>

#include "core/SettingsFile.h"
#include "core/TextRules.h"
#include "graphics/Compositing.h"
#include "graphics/PictureLoading.h"
#include "graphics/SubEffects.h"
#include "script/Commands.h"
#include "script/SpriteArguments.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

using core::GameState;

// An image whose file name starts with two digits NN right after the first backslash of its
// path marks image NN as seen; other paths mark nothing.
void MarkImageSeen(script::Engine& engine, std::string_view path) {
  size_t slash = path.find('\\');
  if (slash == std::string_view::npos || slash + 2 >= path.size()) return;
  char a = path[slash + 1], b = path[slash + 2];
  if (a < '0' || a > '9' || b < '0' || b > '9') return;
  int number = (a - '0') * 10 + (b - '0');
  // Numbers outside 1-19 have no flag; SaveEnvSettings marks nothing for them but still writes.
  core::SaveEnvSettings(engine.services, number - 1);
}

}  // namespace

void Brightness(script::Engine& engine, std::string_view line) {
  engine.view.brightnessLevel = core::ReadNumber(ArgumentText(line));
}

void Effect(script::Engine& engine, std::string_view line) {
  engine.view.effectNumber = core::ReadNumber(ArgumentText(line));
}

void Subeffect(script::Engine& engine, std::string_view line) {
  graphics::RunSubEffect(engine.view, core::ReadNumber(ArgumentText(line)));
}

void Maskefct(script::Engine& engine, std::string_view line) {
  const std::optional<std::string> path =
      core::ComposeGamePath(engine.services, ArgumentText(line));
  if (!path) return;
  engine.view.maskFileName = *path;
  engine.view.effectNumber = 21;
}

void Spralpha(script::Engine& engine, std::string_view line) {
  engine.view.spriteAlpha = core::ReadNumber(ArgumentText(line));
}

void Alphadepth(script::Engine& engine, std::string_view line) {
  engine.view.alphaDepth = core::ReadNumber(ArgumentText(line));
}

void Imgblt(script::Engine& engine, std::string_view line) {
  const std::string_view path = ArgumentText(line);
  const std::optional<std::string> full = core::ComposeGamePath(engine.services, path);
  if (!full || !graphics::LoadBackground(engine.view, *full)) return;
  engine.script.state.SetText(GameState::kBackgroundNameOffset, GameState::kPathSize, path);
  auto bytes = engine.script.state.Bytes();
  bytes[GameState::kSpriteActiveOffset] = 0;
  bytes[GameState::kSpriteActiveOffset + 1] = 0;
  MarkImageSeen(engine, path);
}

void Blt(script::Engine& engine, std::string_view line) {
  size_t at = line.find('(');
  if (at == std::string_view::npos) return;
  int16_t v[6];
  size_t from = at + 1;
  for (int i = 0; i < 6; ++i) {
    std::string_view field = core::TakeUntil(line, from, i < 5 ? "," : ")", 3);
    v[i] = static_cast<int16_t>(core::ReadNumber(field));
    size_t next = line.find(i < 5 ? ',' : ')', from);
    if (next == std::string_view::npos) {
      if (i < 5) return;  // too few numbers: no copy rather than a guessed one
      break;
    }
    from = next + 1;
  }
  graphics::CopyRegion(engine.view, v[0], v[1], static_cast<int16_t>(v[2] - v[0]),
                       static_cast<int16_t>(v[3] - v[1]), v[4], v[5]);
}

void Fill(script::Engine& engine, std::string_view line) {
  engine.script.state.SetText(GameState::kBackgroundNameOffset, GameState::kPathSize, "");
  struct Colour {
    std::string_view word, name;
    uint32_t value;
  };
  static constexpr Colour kColours[] = {{"black", "FILL_BLACK", 0x000000},
                                        {"white", "FILL_WHITE", 0xFFFFFF},
                                        {"red", "FILL_RED", 0x0000FF},
                                        {"green", "FILL_GREEN", 0x00FF00},
                                        {"blue", "FILL_BLUE", 0xFF0000}};
  for (const Colour& colour : kColours) {
    if (!core::ContainsBytes(line, colour.word)) continue;
    engine.script.state.SetText(GameState::kBackgroundNameOffset, GameState::kPathSize,
                                colour.name);
    graphics::FillScene(engine.view, colour.value);
  }
}

void Sprite(script::Engine& engine, std::string_view line) {
  const std::optional<SpriteArguments> arguments = ParseSpriteLine(line);
  if (!arguments) return;
  const int slot = arguments->slot, x = arguments->x;
  const std::string_view path = arguments->path;
  if (!core::ComposeGamePath(engine.services, path)) return;
  // Saved games keep two slots; others are drawn but not remembered.
  if (slot == 0 || slot == 1) {
    auto bytes = engine.script.state.Bytes();
    bytes[GameState::kSpriteActiveOffset + static_cast<size_t>(slot)] = 1;
    engine.script.state.SetSlotValue(GameState::kSpriteXOffset + 4 * static_cast<size_t>(slot), x);
    engine.script.state.SetText(GameState::kSpriteFilesOffset + GameState::kPathSize * slot,
                                GameState::kPathSize, path);
  }
  graphics::DrawSprite(engine.view, x, std::string(path));
}

void Windowopen(script::Engine& engine, std::string_view) {
  graphics::LoadWaitCursor(engine.view);
  graphics::LoadButtonParts(engine.view);
  engine.view.messageWindowOpen = 1;
}

void Windowclose(script::Engine& engine, std::string_view) {
  engine.view.messageWindowOpen = 0;
}

}  // namespace qv::script
