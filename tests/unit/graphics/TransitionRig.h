// An engine on fakes for transition tests: pictures that tell where each pixel came from, and a
// window that records every presented frame with its time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "script/Engine.h"
#include "support/FakePlatform.h"

namespace qv::test {

class FrameWindow final : public platform::Window {
 public:
  explicit FrameWindow(platform::Clock& clock) : clock_(clock) {}
  bool Create(const std::string&, int w, int h) override {
    width = w;
    height = h;
    picture.assign(static_cast<size_t>(w) * h * 3, 0);
    return true;
  }
  int RunMessageLoop(platform::WindowProcedure&) override { return 0; }
  void PostQuit(int) override {}
  std::optional<platform::Message> TakePendingInput() override { return std::nullopt; }
  int32_t Send(const platform::Message&) override { return 0; }
  int32_t Call(const std::function<int32_t()>& work) override { return work(); }
  void Post(const platform::Message&) override {}
  void DispatchPendingRequests() override {}
  void SetTimer(uint32_t, uint32_t) override {}
  void KillTimer(uint32_t) override {}
  bool IsWindowThread() const override { return false; }
  uint32_t CursorPosition() override { return 0; }
  uint8_t* Picture() override { return picture.data(); }
  void Present(int x, int y, int w, int h) override {
    frames.push_back({clock_.nowMs(), x, y, w, h});
    if (onPresent) onPresent();
  }
  const uint8_t* At(int x, int y) const {
    return &picture[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
  }

  struct Frame {
    uint64_t time;
    int x, y, w, h;
  };
  std::vector<Frame> frames;
  std::function<void()> onPresent;  // runs after each Present, with the frame in `picture`
  std::vector<uint8_t> picture;
  int width = 0, height = 0;

 private:
  platform::Clock& clock_;
};

// Blue and green hold the low 8 bits of x and y, red says which picture (0x40 old, 0x80 new)
// and holds their high bits, so a pixel tells which picture and place it was copied from.
enum class Source { Old, New, Other };
struct Origin {
  Source source;
  int x, y;
};
inline Origin Decode(const uint8_t* p) {
  const int tag = p[2] & 0xC0;
  const Source source = tag == 0x40 ? Source::Old : tag == 0x80 ? Source::New : Source::Other;
  return {source, p[0] | (p[2] >> 3 & 7) << 8, p[1] | (p[2] & 7) << 8};
}
// A bare Source stands for the pixel copied from the same place.
inline Origin Expected(Origin o, int, int) {
  return o;
}
inline Origin Expected(Source s, int x, int y) {
  return {s, x, y};
}

// The screen and the window show the old picture, sceneSurface holds the new one.
struct TransitionRig {
  TransitionRig(int width, int height) {
    engine.services.config.width = width;
    engine.services.config.height = height;
    window.Create("", width, height);
    auto& g = engine.view;
    core::Surface old;
    for (core::Surface* s :
         {&old, &g.sceneSurface, &g.pageSurface, &g.sceneCopySurface, &g.workPixels}) {
      s->Create(width, height);
    }
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
    g.screen.Create(width, height);
    g.screen.PutAll(old);
    engine.services.env.screenEffects = 1;
  }

  // Window pixels that do not show `expected(x, y)`, a Source or an Origin; Source::Other
  // matches any pixel that is neither picture's.
  template <typename Expect>
  int WindowMismatches(const Expect& expected) const {
    int wrong = 0;
    for (int y = 0; y < window.height; ++y) {
      for (int x = 0; x < window.width; ++x) {
        const Origin o = Decode(window.At(x, y)), e = Expected(expected(x, y), x, y);
        wrong += o.source != e.source || (e.source != Source::Other && (o.x != e.x || o.y != e.y));
      }
    }
    return wrong;
  }
  int WindowMismatches(Source everywhere) const {
    return WindowMismatches([everywhere](int, int) { return everywhere; });
  }
  bool WindowEqualsScreen() const {
    return std::equal(window.picture.begin(), window.picture.end(),
                      engine.view.screen.Surface().Data());
  }
  bool ScreenShowsScene() const {
    const auto& screen = engine.view.screen.Surface();
    return std::equal(screen.Data(), screen.Data() + screen.SizeBytes(),
                      engine.view.sceneSurface.Data());
  }
  std::vector<uint64_t> PresentTimes() const {
    std::vector<uint64_t> times;
    for (const auto& f : window.frames) times.push_back(f.time);
    return times;
  }

  FakePlatform fakes;
  FrameWindow window{fakes.clock};
  platform::Platform services{fakes.clock,  window,       fakes.ui,   fakes.display,
                              fakes.files,  fakes.cp932,  fakes.log,  fakes.locks,
                              fakes.drives, fakes.glyphs, fakes.audio};
  script::Engine engine{services};
};

}  // namespace qv::test
