// The slot list (see SlotList.h).
#include "screens/SlotList.h"

#include <cstdio>

#include "core/SavedGameFile.h"
#include "core/SettingsFile.h"
#include "core/TextRules.h"
#include "screens/TextOutput.h"

namespace qv::screens {

namespace {

constexpr uint32_t kBlack = 0x000000;

// The pen's step where the face does not say: the slot font's half and full cells.
constexpr int kNarrowAdvance = 8;
constexpr int kWideAdvance = 16;

}  // namespace

int ReadSlotSummary(SaveLoadScreenState& screen, int slotIndex, std::string& dateText,
                    std::string& titleText) {
  dateText = kNoDate;
  titleText = kNoTitle;
  if (!core::EnsureSaveFolder(screen.view.services, false)) return 0;
  const std::string path = core::SlotFilePath(screen.view.services, slotIndex + 1);
  auto bytes = screen.view.services.platform.files.ReadPrefix(path, core::GameState::kSize + 1);
  if (!bytes) return 0;
  // The title lies at the end of the record; a short file shows what it holds of it.
  const size_t titleEnd = core::GameState::kStateTitleOffset + core::GameState::kStateTitleSize;
  titleText.clear();
  for (size_t i = core::GameState::kStateTitleOffset; i < titleEnd && i < bytes->size(); ++i) {
    if ((*bytes)[i] == 0) break;
    titleText.push_back(static_cast<char>((*bytes)[i]));
  }
  auto time = screen.view.services.platform.files.LastWriteTime(path);
  if (!time) return 0;
  char date[32];
  std::snprintf(date, sizeof date, "%02d/%02d/%02d %02d:%02d", time->year, time->month, time->day,
                time->hour, time->minute);
  dateText = date;
  // A file that could not be loaded is shown, so the player sees the slot is taken, but it does
  // not react on a load screen.
  auto script = screen.script.Text();
  return core::CheckSavedGame(*bytes, script.get()).empty() ? 1 : 0;
}

void DrawText(SaveLoadScreenState& screen, platform::Font* font, core::Surface& surface, int x,
              int y, std::string_view text, uint32_t colour) {
  if (!font || surface.Empty()) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  // The window thread copies from the looks.
  screen.view.screen.Locked([&](core::Surface&) {
    for (size_t i = 0; i < text.size();) {
      const bool wide = core::IsSjisLeadByte(bytes[i]) && i + 1 < text.size();
      const uint32_t code = wide ? bytes[i] * 256u + bytes[i + 1] : bytes[i];
      i += wide ? 2 : 1;
      platform::GlyphBitmap glyph;
      const bool drawn = font->Glyph(code, glyph);
      const int advance = glyph.advanceX > 0 ? glyph.advanceX
                          : wide             ? kWideAdvance
                                             : kNarrowAdvance;
      if (drawn && glyph.ByteSize() > 0 && glyph.coverage.size() >= glyph.ByteSize() &&
          glyph.pitch >= glyph.blackBoxX) {
        InkGlyph(surface, glyph, x + glyph.originX, y + font->Ascent() - glyph.originY, colour);
      }
      x += advance;
    }
  });
}

int DrawSlotList(SaveLoadScreenState& screen, core::ScreenMode mode) {
  auto& g = screen.view;
  auto& enabled = screen.slotEnabled;
  platform::FontRequest request;
  request.faceName = kSlotFace;
  request.cellHeight = kSlotCellHeight;
  request.weight = 600;
  // Made for each drawing and let go after it, as the list is drawn only now and then.
  std::shared_ptr<platform::Font> font = screen.view.services.platform.glyphs.OpenFont(request);
  enabled[0] = 1;
  for (int k = 1; k <= 12; ++k) {
    std::string date, title;
    enabled[static_cast<size_t>(k)] = ReadSlotSummary(screen, k - 1, date, title) == 1 ? 1 : 0;
    const core::Rect& r = kSlotRects[static_cast<size_t>(k)];
    for (core::Surface* look : {&g.sceneSurface, &g.pageSurface}) {
      DrawText(screen, font.get(), *look, r.left + 62, r.top + 11, date, kBlack);
      DrawText(screen, font.get(), *look, r.left + 60, r.top + 9, date, kWhite);
      DrawText(screen, font.get(), *look, r.left + 72, r.top + 32, title, kBlack);
      DrawText(screen, font.get(), *look, r.left + 70, r.top + 30, title, kWhite);
    }
    if (screen.view.services.platform.log.Enabled()) {
      screen.view.services.Log("slot " + std::to_string(k) + " " + date + " | " +
                               screen.view.services.Utf8(title));
    }
  }
  if (mode == core::ScreenMode::Save) enabled.fill(1);
  return 1;
}

}  // namespace qv::screens
