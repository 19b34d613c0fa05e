// The engine's state as JSON (see StateDump.h).
#include "shell/StateDump.h"

#include <algorithm>

#include <cstdio>
#include <sstream>

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

}  // namespace

std::string StateJson(core::Engine& engine) {
  using GS = core::GameState;
  auto& s = engine.state;
  auto text = [&](size_t offset, size_t size) { return Quote(engine.Utf8(s.Text(offset, size))); };
  std::vector<int32_t> flags, points;
  for (size_t i = 0; i < GS::kEventFlagCount; ++i)
    flags.push_back(s.EventFlag(static_cast<int>(i)));
  for (size_t i = 0; i < GS::kPointCount; ++i) points.push_back(s.Point(static_cast<int>(i)));
  std::vector<int> records, images;
  for (auto& f : engine.env.recordFlags) records.push_back(f);
  for (auto& f : engine.env.imageSeenFlags) images.push_back(f);

  // Each listed choice as left, right, top, bottom (the table's order) and its label.
  std::vector<int32_t> choiceRects;
  std::string choiceLabels;
  const int choiceCount = std::min(engine.choices.count, core::ChoiceTable::kCapacity);
  for (int i = 0; i < choiceCount; ++i) {
    const core::ChoiceItem& item = engine.choices.items[static_cast<size_t>(i)];
    choiceRects.insert(choiceRects.end(), {item.left, item.right, item.top, item.bottom});
    choiceLabels += (i ? ", " : "") + Quote(engine.Utf8(item.Label()));
  }

  std::ostringstream out;
  out << "{\n"
      << "  \"scriptPosition\": " << engine.scriptPosition.load() << ",\n"
      << "  \"advanceMode\": " << engine.advanceMode.load() << ",\n"
      << "  \"screenMode\": " << engine.screenMode.load() << ",\n"
      << "  \"messageSpeed\": " << engine.env.messageSpeed.load() << ",\n"
      << "  \"savedMessageSpeed\": " << engine.savedMessageSpeed.load() << ",\n"
      << "  \"windowed\": " << engine.env.windowed.load() << ",\n"
      << "  \"screenEffects\": " << engine.env.screenEffects.load() << ",\n"
      << "  \"seVolume\": " << engine.env.seVolume.load() << ",\n"
      << "  \"bgmVolume\": " << engine.env.bgmVolume.load() << ",\n"
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
      << "  \"syncActive\": " << engine.syncActive.load() << ",\n"
      << "  \"clickEndsAuto\": " << engine.clickEndsAuto.load() << ",\n"
      << "  \"voicePlaying\": " << engine.voicePlaying.load() << ",\n"
      << "  \"restoringGame\": " << engine.restoringGame.load() << ",\n"
      << "  \"previousScreenMode\": " << engine.previousScreenMode.load() << ",\n"
      << "  \"slotEnabled\": " << Array(engine.saveLoad.slotEnabled) << ",\n"
      << "  \"waitCursorOn\": " << engine.waitCursorOn.load() << ",\n"
      << "  \"newPageRequested\": " << engine.newPageRequested.load() << ",\n"
      << "  \"messageWindowActive\": " << engine.messageWindowActive.load() << ",\n"
      << "  \"messageWindowShown\": " << engine.messageWindowShown.load() << ",\n"
      << "  \"effectNumber\": " << engine.effectNumber.load() << ",\n"
      << "  \"brightnessLevel\": " << engine.brightnessLevel.load() << ",\n"
      << "  \"spriteAlpha\": " << engine.spriteAlpha.load() << ",\n"
      << "  \"alphaDepth\": " << engine.alphaDepth.load() << ",\n"
      << "  \"messageWindowOpen\": " << engine.messageWindowOpen.load() << ",\n"
      << "  \"maskFileName\": " << Quote(engine.Utf8(engine.maskFileName)) << ",\n"
      << "  \"spriteActive\": [" << int{s.Bytes()[GS::kSpriteActiveOffset]} << ", "
      << int{s.Bytes()[GS::kSpriteActiveOffset + 1]} << "],\n"
      << "  \"spriteX\": [" << s.SlotValue(GS::kSpriteXOffset) << ", "
      << s.SlotValue(GS::kSpriteXOffset + 4) << "],\n"
      << "  \"spriteFiles\": [" << text(GS::kSpriteFilesOffset, GS::kPathSize) << ", "
      << text(GS::kSpriteFilesOffset + GS::kPathSize, GS::kPathSize) << "],\n"
      << "  \"textPosition\": [" << engine.textPositionX.load() << ", "
      << engine.textPositionY.load() << "],\n"
      << "  \"choiceCount\": " << engine.choices.count << ",\n"
      << "  \"choiceRects\": " << Array(choiceRects) << ",\n"
      << "  \"choiceLabels\": [" << choiceLabels << "],\n"
      << "  \"halted\": \"" << core::HaltReasonName(engine.gate.Halted()) << "\",\n"
      << "  \"instanceName\": " << Quote(engine.Utf8(engine.config.instanceName)) << ",\n"
      << "  \"windowName\": " << Quote(engine.Caption()) << ",\n"
      << "  \"width\": " << engine.config.width << ",\n"
      << "  \"height\": " << engine.config.height << ",\n"
      << "  \"gameType\": " << engine.config.gameType << ",\n"
      << "  \"bgmFromCd\": " << engine.config.bgmFromCd << "\n"
      << "}\n";
  return out.str();
}

bool HaltedForPlayer(core::Engine& engine) {
  return engine.gate.Halted() != core::HaltReason::None;
}

}  // namespace qv::shell
