// Word-choice bars (see ChoiceBar.h).
#include "screens/ChoiceBar.h"

#include "graphics/MaskedBlend.h"
#include "graphics/PictureLoading.h"
#include "graphics/Screen.h"
#include "screens/TextOutput.h"

namespace qv::screens {

namespace {

constexpr int kFirstOpacity = 5;
constexpr int kOpacityStep = 25;
constexpr int kFirstOffset = 150;
constexpr int kOffsetStep = 15;
// The strip shown each step is wider than the bar, so the column it has just left is repainted.
constexpr int kStripWidth = 420;

constexpr int kTextLeft = 47;
constexpr int kTextTop = 9;
constexpr int kTextPitch = 21;

}  // namespace

int DrawChoiceBar(graphics::Presentation& view, const core::ChoiceTable& choices,
                  std::string_view text, int itemIndex) {
  auto& g = view;
  const core::ChoiceItem& item = choices.items.at(static_cast<size_t>(itemIndex));
  const int left = item.left;
  const int top = item.top;

  // Bars drawn for earlier items are already in the scene: they are part of this one's base.
  core::CopyAll(g.workPixels, g.sceneSurface);
  auto bar = graphics::LoadPicture(view, view.services.baseDirectory + kChoiceBarPath,
                                   graphics::PictureKind::ChoiceBar);
  if (bar) {
    core::Surface scratch;
    for (int step = 0; step < kBarSlideSteps; ++step) {
      const int opacity = kFirstOpacity + kOpacityStep * step;
      const int x = left + kFirstOffset - kOffsetStep * step;
      scratch = g.workPixels;
      graphics::BlendMaskedSprite(scratch, x, top, bar->pixels, opacity);
      core::CopyAll(g.sceneSurface, scratch);
      view.screen.Show(g.sceneSurface, x, top, kStripWidth, kBarHeight, x, top);
    }
    core::CopyRect(g.pageSurface, left, top, g.sceneSurface, left, top, kBarWidth, kBarHeight);
  }

  platform::Font* font = g.messageFont.get();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    const int x = left + kTextLeft + kTextPitch * static_cast<int>(i / 2);
    RenderGlyph(view, font, g.sceneSurface, x, top + kTextTop, bytes + i, 2, kWhite);
    RenderGlyph(view, font, g.pageSurface, x, top + kTextTop, bytes + i, 2, kHighlightColour);
  }
  return 1;
}

}  // namespace qv::screens
