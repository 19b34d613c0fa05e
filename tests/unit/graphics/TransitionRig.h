// An engine on fakes for drawing tests: its own surfaces and the fake font, pictures that tell
// where each pixel came from, and a window that stamps every presented frame with its time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "graphics/Compositing.h"
#include "support/FakePlatform.h"
#include "support/Fnv1a.h"

namespace qv::test {

// The engine's surfaces and the fake font; the screen and the window show the old picture,
// sceneSurface holds the new one. Blue and green hold the low 8 bits of x and y, red says which
// picture (0x40 old, 0x80 new) and holds their high bits, so a pixel tells which picture and
// place it was copied from.
struct TransitionRig {
  TransitionRig(int width, int height) {
    engine.services.config.width = width;
    engine.services.config.height = height;
    window.clock = &fakes.clock;
    window.windowThread = false;
    window.Create("", width, height);
    auto& g = engine.view;
    graphics::CreateSurfaces(g);
    fakes.log.lines.clear();  // the font it opened
    old.Create(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (auto [s, source] : {std::pair{&old, 0x40}, {&g.sceneSurface, 0x80}}) {
          uint8_t* out = s->Row(y) + 3 * x;
          out[0] = static_cast<uint8_t>(x);
          out[1] = static_cast<uint8_t>(y);
          out[2] = static_cast<uint8_t>(source | (x >> 8) << 3 | y >> 8);
        }
      }
      std::copy_n(old.Row(y), width * 3, &window.picture[(height - 1 - y) * width * 3]);
    }
    g.screen.PutAll(old);
    engine.services.env.screenEffects = 1;
  }

  bool WindowShows(const core::Surface& picture) const {
    return std::equal(window.picture.begin(), window.picture.end(), picture.Data());
  }
  bool ScreenShowsScene() const {
    const auto& screen = engine.view.screen.Surface();
    return std::equal(screen.Data(), screen.Data() + screen.SizeBytes(),
                      engine.view.sceneSurface.Data());
  }

  // From here on, folds every presented frame into `digest`: when, where, and every window pixel.
  void DigestFrames() {
    window.onPresent = [this] {
      const auto& f = window.frames.back();
      Fold({f.time, uint64_t(f.x), uint64_t(f.y), uint64_t(f.w), uint64_t(f.h)});
      digest = Fnv1a(window.picture, digest);
    };
  }
  void Fold(std::initializer_list<uint64_t> values) {
    digest =
        Fnv1a({reinterpret_cast<const uint8_t*>(std::data(values)), values.size() * 8}, digest);
  }

  uint64_t digest = 0xcbf29ce484222325ull;
  core::Surface old;
  FakePlatform fakes;
  FakeWindow& window = fakes.window;
  script::Engine engine{fakes.services};
};

}  // namespace qv::test
