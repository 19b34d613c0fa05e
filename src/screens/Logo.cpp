// The start-up logo (see Logo.h).
#include "screens/Logo.h"

#include <algorithm>
#include <cstring>

#include "audio/SoundEffects.h"
#include "core/Bytes.h"
#include "core/WindowRequests.h"
#include "graphics/PictureLoading.h"
#include "graphics/WindowPicture.h"

namespace qv::screens {

namespace {

constexpr int kStripWidth = 5;
constexpr int kStripStep = 10;
constexpr uint32_t kStripPeriodMs = 7;
constexpr int kHoldRounds = 150;
constexpr uint32_t kHoldRoundMs = 20;
constexpr size_t kPixelOffsetField = 10;

// The logo is taken as raw frame rows from the file's pixel-data offset, unchecked: whatever the
// header says about its size, the frame's bytes are what is shown, and a file too short for them
// leaves the rest black.
void CopyLogoPixels(const std::vector<uint8_t>& file, core::Surface& work) {
  std::memset(work.Data(), 0, work.SizeBytes());
  if (file.size() < kPixelOffsetField + 4) return;
  const auto offset = static_cast<uint32_t>(core::LoadI32(file.data() + kPixelOffsetField));
  if (offset >= file.size()) return;
  std::memcpy(work.Data(), file.data() + offset, std::min(work.SizeBytes(), file.size() - offset));
}

void ClearWindow(script::Engine& engine) {
  graphics::WindowCanvas canvas(engine.view);
  if (!canvas.Pixels()) return;
  std::memset(canvas.Pixels(), 0,
              static_cast<size_t>(canvas.Width()) * static_cast<size_t>(canvas.Height()) * 3);
  canvas.MarkAll();
}

void Reveal(script::Engine& engine, const core::Surface& logo) {
  auto& clock = engine.services.platform.clock;
  const int width = engine.services.config.width, height = engine.services.config.height;
  for (int offset = 0; offset < width; offset += kStripStep) {
    const uint32_t start = clock.tickCount();
    // Two separate copies: each strip is presented on its own, not the span between them.
    graphics::ShowRect(engine.view, logo, offset, 0, kStripWidth, height, offset, 0);
    const int right = width - offset - kStripWidth;
    graphics::ShowRect(engine.view, logo, right, 0, kStripWidth, height, right, 0);
    // A paced wait, not a sleep: a sleep's granularity would stretch the reveal.
    clock.waitUntilTick(start + kStripPeriodMs, platform::WaitStyle::Spin);
  }
}

}  // namespace

int ShowLogo(script::Engine& engine) {
  ClearWindow(engine);
  auto& g = engine.view;
  const std::string path = engine.services.baseDirectory + kLogoPicturePath;
  const auto file = engine.services.platform.files.ReadAll(path);
  if (!file) {
    core::ShowWarning(engine.services, graphics::DisplayPath(engine.view, path));
    engine.services.Log("logo missing");
    return 0;
  }
  engine.services.Log("logo");
  CopyLogoPixels(*file, g.workPixels);
  core::CopyAll(g.screenSurface, g.workPixels);
  audio::PlaySoundEffect(engine.services, engine.services.baseDirectory + kLogoSoundPath);

  Reveal(engine, g.screenSurface);
  graphics::ShowSurface(engine.view, g.screenSurface);

  auto& window = engine.services.platform.window;
  for (int round = 0; round < kHoldRounds; ++round) {
    engine.services.platform.clock.sleep(kHoldRoundMs);
    const auto input = window.TakePendingInput();
    if (input && input->id == platform::MSG_RBUTTONUP) {
      engine.services.platform.audio.StopEffect();
      engine.services.Log("logo end rclick");
      return 1;
    }
    // Anything else taken is swallowed: a click meant to skip the logo must not also advance
    // the game's first page.
    graphics::ShowSurface(engine.view, g.screenSurface);
  }
  engine.services.Log("logo end");
  return 1;
}

}  // namespace qv::screens
