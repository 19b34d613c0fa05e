// The instance file (see InstanceFile.h).
#include "shell/InstanceFile.h"

#include "core/TextRules.h"
#include "script/ScriptFile.h"

namespace qv::shell {

namespace {

constexpr size_t kInstanceNameMax = 63;
// The window name has no stated bound; a caption longer than this is of no use to anybody.
constexpr size_t kWindowNameMax = 255;
constexpr size_t kNumberMax = 9;

// Frames beyond this are no window a display can show, and the buffers would not fit in memory.
constexpr int32_t kMaxFrameSide = 8192;

std::optional<std::string_view> KeyValue(std::string_view text, std::string_view key,
                                         size_t maxBytes) {
  const auto value = InstanceKeyValue(text, key);
  if (!value) return std::nullopt;
  return core::CutAtCharBoundary(*value, maxBytes);
}

}  // namespace

std::optional<std::string_view> InstanceKeyValue(std::string_view bytes, std::string_view key) {
  size_t at = core::FindSjis(bytes, key);
  if (at == std::string_view::npos) return std::nullopt;
  size_t from = at + key.size() + 1;
  if (from > bytes.size()) return std::string_view{};
  return core::TakeUntil(bytes, from, std::string_view("\"\0", 2));
}

bool IsPlayableFrame(int32_t width, int32_t height) {
  // Whole-frame pixel buffers have no row padding, which only widths that are multiples of 4
  // give; other widths would shear every picture.
  return width > 0 && height > 0 && width <= kMaxFrameSide && height <= kMaxFrameSide &&
         width % 4 == 0;
}

core::InstanceConfig ParseInstanceFile(std::string_view bytes) {
  core::InstanceConfig config;
  config.found = true;
  auto instance = KeyValue(bytes, "InstanceName=", kInstanceNameMax);
  config.instanceName = instance ? std::string(*instance) : "DEFAULTINSTANCE";
  auto window = KeyValue(bytes, "WindowName=", kWindowNameMax);
  config.windowName = window ? std::string(*window) : "DEFAULTIN";
  auto number = [&](std::string_view key, int32_t fallback) {
    auto value = KeyValue(bytes, key, kNumberMax);
    return value ? core::ReadNumber(*value) : fallback;
  };
  config.width = number("WindowWidth=", 640);
  config.height = number("WindowHeight=", 480);
  config.gameType = number("GameType=", 0);
  auto bgm = KeyValue(bytes, "BGMType=", kNumberMax);
  config.bgmFromCd = bgm ? (core::ContainsBytes(*bgm, "WAVE") ? 0 : 1) : 0;
  return config;
}

void ReadInstanceFile(script::Engine& engine) {
  std::string name =
      script::FirstWithExtension(engine.services.platform.files.ListGameFolder(), "ist");
  std::optional<std::vector<uint8_t>> bytes;
  if (!name.empty())
    bytes = engine.services.platform.files.ReadAll(engine.services.baseDirectory + name);
  if (!bytes) {
    // Without an instance file the game would get empty names and a window of no size; the
    // keys' defaults give a playable window instead.
    engine.services.config = ParseInstanceFile({});
    engine.services.config.found = false;
    return;
  }
  engine.services.config = ParseInstanceFile(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  // Only a game that has an instance file loops its music.
  engine.audio.musicPlayer.playOnce = 0;
  engine.audio.voicePlayer.playOnce = 1;
}

}  // namespace qv::shell
