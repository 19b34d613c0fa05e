// Drawing the backlog's pages (see BacklogView.h).
#include "screens/BacklogView.h"

#include <string_view>

#include "graphics/Screen.h"
#include "screens/TextOutput.h"

namespace qv::screens {

namespace {

constexpr core::Rect kArea = graphics::Presentation::kTextArea;
// A musical note, in the message font, one wide cell left of the line it marks.
constexpr std::string_view kVoiceMark = "\x81\xf4";
constexpr int kMarkX = kArea.left - kWideCell;
// The page number ends at the frame's right edge less a margin, one row above the text.
constexpr int kNumberRight = 790;
constexpr int kNumberY = kArea.top - kRowHeight + 4;

const core::HistoryPage* ShownPage(const BacklogView& backlog) {
  const auto count = static_cast<int>(backlog.pages.size());
  if (backlog.page < 1 || backlog.page > count) return nullptr;
  return &backlog.pages[static_cast<size_t>(count - backlog.page)];
}

// Types `text` at once from `pen`; returns the pen for the next line.
Pen Type(graphics::Presentation& view, core::Surface& onto, std::string_view text, Pen pen) {
  platform::Font* font = view.messageFont.get();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  return *LayOutLine(text, pen, [&](const PlacedCharacter& character) {
    RenderGlyph(view, font, onto, character.cell.x, character.cell.y, bytes + character.at,
                character.count, kWhite);
    return true;
  });
}

}  // namespace

void DrawBacklogPage(graphics::Presentation& view, const BacklogView& backlog) {
  const core::HistoryPage* page = ShownPage(backlog);
  if (!page || view.screen.Empty()) return;
  core::Surface drawn;
  view.screen.Locked([&](core::Surface&) { drawn = view.pageSurface; });
  if (drawn.Width() != view.screen.Width() || drawn.Height() != view.screen.Height()) return;
  Pen pen{kArea.left, kArea.top};
  for (const core::HistoryLine& line : *page) {
    if (!line.voice.empty()) Type(view, drawn, kVoiceMark, {kMarkX, pen.y});
    pen = Type(view, drawn, line.text, pen);
  }
  const std::string number =
      std::to_string(backlog.page) + "/" + std::to_string(backlog.pages.size());
  Type(view, drawn, number,
       {kNumberRight - static_cast<int>(number.size()) * kNarrowCell, kNumberY});
  view.screen.PutAll(drawn);
  view.screen.ShowScreen();
}

const core::HistoryLine* BacklogLineAt(const BacklogView& backlog, int x, int y) {
  const core::HistoryPage* page = ShownPage(backlog);
  if (!page || x < kMarkX || x > kArea.right + kWideCell) return nullptr;
  Pen pen{kArea.left, kArea.top};
  for (const core::HistoryLine& line : *page) {
    const Pen next = *LayOutLine(line.text, pen, [](const PlacedCharacter&) { return true; });
    if (pen.y <= y && y < next.y) return &line;
    pen = next;
  }
  return nullptr;
}

}  // namespace qv::screens
