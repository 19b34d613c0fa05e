// The start-up logo (see Logo.h).
#include "screens/Logo.h"

#include <algorithm>
#include <cstring>

#include "audio/SoundEffects.h"
#include "core/Bytes.h"
#include "core/WindowRequests.h"
#include "graphics/PictureLoading.h"
#include "graphics/Screen.h"

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

void ClearWindow(graphics::Presentation& view) {
  graphics::Screen::Canvas canvas(view.screen);
  if (!canvas.Pixels()) return;
  std::memset(canvas.Pixels(), 0,
              static_cast<size_t>(canvas.Width()) * static_cast<size_t>(canvas.Height()) * 3);
  canvas.MarkAll();
}

void Reveal(graphics::Presentation& view, const core::Surface& logo) {
  auto& clock = view.services.platform.clock;
  const int width = view.services.config.width, height = view.services.config.height;
  for (int offset = 0; offset < width; offset += kStripStep) {
    const uint32_t start = clock.tickCount();
    // Two separate copies: each strip is presented on its own, not the span between them.
    view.screen.Show(logo, offset, 0, kStripWidth, height, offset, 0);
    const int right = width - offset - kStripWidth;
    view.screen.Show(logo, right, 0, kStripWidth, height, right, 0);
    // A paced wait, not a sleep: a sleep's granularity would stretch the reveal.
    clock.waitUntilTick(start + kStripPeriodMs, platform::WaitStyle::Spin);
  }
}

}  // namespace

int ShowLogo(graphics::Presentation& view) {
  ClearWindow(view);
  auto& g = view;
  const std::string path = view.services.baseDirectory + kLogoPicturePath;
  const auto file = view.services.platform.files.ReadAll(path);
  if (!file) {
    core::ShowWarning(view.services, graphics::DisplayPath(view, path));
    view.services.Log("logo missing");
    return 0;
  }
  view.services.Log("logo");
  CopyLogoPixels(*file, g.workPixels);
  g.screen.PutAll(g.workPixels);
  audio::PlaySoundEffect(view.services, view.services.baseDirectory + kLogoSoundPath);

  Reveal(view, g.screen.Surface());
  g.screen.ShowScreen();

  auto& window = view.services.platform.window;
  for (int round = 0; round < kHoldRounds; ++round) {
    view.services.platform.clock.sleep(kHoldRoundMs);
    const auto input = window.TakePendingInput();
    if (input && input->id == platform::MSG_RBUTTONUP) {
      view.services.platform.audio.StopEffect();
      view.services.Log("logo end rclick");
      return 1;
    }
    // Anything else taken is swallowed: a click meant to skip the logo must not also advance
    // the game's first page.
    g.screen.ShowScreen();
  }
  view.services.Log("logo end");
  return 1;
}

}  // namespace qv::screens
