// The bar buttons' pressed-look flash (see BarButtons.h).
#include "screens/BarButtons.h"

#include "audio/SoundEffects.h"
#include "graphics/Screen.h"

namespace qv::screens {

void FlashBarButton(graphics::Presentation& view, int index) {
  const core::Rect& r = kBarButtonRects.at(static_cast<size_t>(index));
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  auto& g = view;
  // The flash once only prepared this sound; players expect to hear a button they press.
  audio::PlaySoundEffect(view.services, view.services.baseDirectory + kClickSoundPath);
  view.screen.Show(g.barSurface, r.left, r.top - kBarTop + kBarLookHeight, w, h, r.left, r.top);
  view.services.platform.clock.sleep(kFlashMs);
  view.screen.Show(g.pageSurface, r.left, r.top, w, h, r.left, r.top);
}

}  // namespace qv::screens
