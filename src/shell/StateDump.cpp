// The engine's state as JSON (see StateDump.h).
#include "shell/StateDump.h"

#include <algorithm>
#include <array>

#include <cstdio>
#include <sstream>

#include "shell/Backlog.h"

namespace qv::shell {

namespace {

std::string Quote(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

template <typename Range>
std::string Array(const Range& values) {
  std::string out = "[";
  bool first = true;
  for (const auto& v : values) {
    if (!first) out += ", ";
    first = false;
    out += std::to_string(static_cast<long long>(v));
  }
  return out + "]";
}

constexpr std::array<const char*, 3> kTextHookNames{"off", "stdout", "clipboard"};

}  // namespace

std::string StateJson(script::Engine& engine) {
  using GS = core::GameState;
  auto& s = engine.script.state;
  auto text = [&](size_t offset, size_t size) {
    return Quote(engine.services.Utf8(s.Text(offset, size)));
  };
  std::vector<int32_t> flags, points;
  for (size_t i = 0; i < GS::kEventFlagCount; ++i)
    flags.push_back(s.EventFlag(static_cast<int>(i)));
  for (size_t i = 0; i < GS::kPointCount; ++i) points.push_back(s.Point(static_cast<int>(i)));
  std::vector<int> records, images;
  for (auto& f : engine.services.env.recordFlags) records.push_back(f);
  for (auto& f : engine.services.env.imageSeenFlags) images.push_back(f);

  // Each listed choice as left, right, top, bottom (the table's order) and its label.
  std::vector<int32_t> choiceRects;
  std::string choiceLabels;
  const int choiceCount = std::min(engine.script.choices.count, core::ChoiceTable::kCapacity);
  for (int i = 0; i < choiceCount; ++i) {
    const core::ChoiceItem& item = engine.script.choices.items[static_cast<size_t>(i)];
    choiceRects.insert(choiceRects.end(), {item.left, item.right, item.top, item.bottom});
    choiceLabels += (i ? ", " : "") + Quote(engine.services.Utf8(item.Label()));
  }

  const core::Comforts& comforts = engine.services.comforts;
  std::ostringstream out;
  out << "{\n"
      << "  \"scriptPosition\": " << engine.script.position.load() << ",\n"
      << "  \"advanceMode\": " << static_cast<int>(engine.input.advanceMode.load()) << ",\n"
      << "  \"screenMode\": " << static_cast<int>(engine.input.screenMode.load()) << ",\n"
      << "  \"messageSpeed\": " << engine.services.env.messageSpeed.load() << ",\n"
      << "  \"savedMessageSpeed\": " << engine.input.savedMessageSpeed.load() << ",\n"
      << "  \"windowed\": " << engine.services.env.windowed.load() << ",\n"
      << "  \"screenEffects\": " << engine.services.env.screenEffects.load() << ",\n"
      << "  \"seVolume\": " << engine.services.env.seVolume.load() << ",\n"
      << "  \"bgmVolume\": " << engine.services.env.bgmVolume.load() << ",\n"
      << "  \"eventFlags\": " << Array(flags) << ",\n"
      << "  \"points\": " << Array(points) << ",\n"
      << "  \"recordFlags\": " << Array(records) << ",\n"
      << "  \"imageSeenFlags\": " << Array(images) << ",\n"
      << "  \"playerName\": " << text(GS::kPlayerNameOffset, GS::kPlayerNameSize) << ",\n"
      << "  \"backgroundName\": " << text(GS::kBackgroundNameOffset, GS::kPathSize) << ",\n"
      << "  \"stateTitle\": " << text(GS::kStateTitleOffset, GS::kStateTitleSize) << ",\n"
      << "  \"returnLabel\": " << text(GS::kReturnLabelOffset, GS::kReturnLabelSize) << ",\n"
      << "  \"musicFileName\": " << text(GS::kMusicFileNameOffset, GS::kPathSize) << ",\n"
      << "  \"statusWindowOpen\": " << s.SlotValue(GS::kStatusWindowOffset) << ",\n"
      << "  \"syncActive\": " << engine.script.syncActive.load() << ",\n"
      << "  \"clickEndsAuto\": " << engine.input.clickEndsAuto.load() << ",\n"
      << "  \"voicePlaying\": " << engine.audio.voicePlaying.load() << ",\n"
      << "  \"restoringGame\": " << engine.input.restoringGame.load() << ",\n"
      << "  \"previousScreenMode\": " << static_cast<int>(engine.input.previousScreenMode.load())
      << ",\n"
      << "  \"slotEnabled\": " << Array(engine.saveLoad.slotEnabled) << ",\n"
      << "  \"waitCursorOn\": " << engine.view.waitCursorOn.load() << ",\n"
      << "  \"newPageRequested\": " << engine.input.newPageRequested.load() << ",\n"
      << "  \"messageWindowActive\": " << engine.view.messageWindowActive.load() << ",\n"
      << "  \"messageWindowShown\": " << engine.view.messageWindowShown.load() << ",\n"
      << "  \"effectNumber\": " << engine.view.effectNumber.load() << ",\n"
      << "  \"brightnessLevel\": " << engine.view.brightnessLevel.load() << ",\n"
      << "  \"spriteAlpha\": " << engine.view.spriteAlpha.load() << ",\n"
      << "  \"alphaDepth\": " << engine.view.alphaDepth.load() << ",\n"
      << "  \"messageWindowOpen\": " << engine.view.messageWindowOpen.load() << ",\n"
      << "  \"maskFileName\": " << Quote(engine.services.Utf8(engine.view.maskFileName)) << ",\n"
      << "  \"spriteActive\": [" << int{s.Bytes()[GS::kSpriteActiveOffset]} << ", "
      << int{s.Bytes()[GS::kSpriteActiveOffset + 1]} << "],\n"
      << "  \"spriteX\": [" << s.SlotValue(GS::kSpriteXOffset) << ", "
      << s.SlotValue(GS::kSpriteXOffset + 4) << "],\n"
      << "  \"spriteFiles\": [" << text(GS::kSpriteFilesOffset, GS::kPathSize) << ", "
      << text(GS::kSpriteFilesOffset + GS::kPathSize, GS::kPathSize) << "],\n"
      << "  \"textPosition\": [" << engine.view.textPositionX.load() << ", "
      << engine.view.textPositionY.load() << "],\n"
      << "  \"choiceCount\": " << engine.script.choices.count << ",\n"
      << "  \"choiceRects\": " << Array(choiceRects) << ",\n"
      << "  \"choiceLabels\": [" << choiceLabels << "],\n"
      << "  \"halted\": \"" << core::HaltReasonName(engine.script.gate.Halted()) << "\",\n"
      << "  \"instanceName\": " << Quote(engine.services.Utf8(engine.services.config.instanceName))
      << ",\n"
      << "  \"windowName\": " << Quote(engine.services.Caption()) << ",\n"
      << "  \"width\": " << engine.services.config.width << ",\n"
      << "  \"height\": " << engine.services.config.height << ",\n"
      << "  \"gameType\": " << engine.services.config.gameType << ",\n"
      << "  \"bgmFromCd\": " << engine.services.config.bgmFromCd << ",\n"
      << "  \"comforts\": " << int{comforts.enabled} << ",\n"
      << "  \"skipReadOnly\": " << int{comforts.skipReadOnly.load()} << ",\n"
      << "  \"textHook\": \"" << kTextHookNames[static_cast<size_t>(comforts.textHook)] << "\",\n"
      << "  \"focus\": [" << static_cast<int>(engine.input.focusSet) << ", "
      << engine.input.focusIndex << "],\n"
      << "  \"backlogOpen\": " << int{BacklogOpen(engine)} << "\n"
      << "}\n";
  return out.str();
}

bool HaltedForPlayer(script::Engine& engine) {
  return engine.script.gate.Halted() != core::HaltReason::None;
}

}  // namespace qv::shell
