// Scene composition (see Compositing.h).
#include "graphics/Compositing.h"

#include <algorithm>
#include <cstring>

#include "graphics/MaskedBlend.h"
#include "graphics/PictureLoading.h"
#include "graphics/Transitions.h"

namespace qv::graphics {

namespace {

constexpr int kBarWidth = 640;
constexpr int kBarHeight = 22;
constexpr int kBarTop = 578;
constexpr int kBandRows = 170;
constexpr int kGradientRows = 20;

// b − level when b is greater, else 0, both compared as unsigned 32-bit numbers: a level of 255
// or more, or a negative one, makes everything black.
inline uint8_t Darken(uint8_t b, int32_t level) {
  return static_cast<uint32_t>(b) > static_cast<uint32_t>(level) ? static_cast<uint8_t>(b - level)
                                                                 : 0;
}

void DarkenRows(core::Surface& surface, int firstStoredRow, int rows, int32_t level) {
  const int end = std::min(surface.Height(), firstStoredRow + rows);
  const size_t bytes = static_cast<size_t>(surface.Width()) * 3;
  for (int r = std::max(0, firstStoredRow); r < end; ++r) {
    uint8_t* row = surface.StoredRow(r);
    for (size_t i = 0; i < bytes; ++i) row[i] = Darken(row[i], level);
  }
}

// The window thread copies from the page and scene surfaces on a hover: a new look goes into
// their storage under its lock, and the storage stays where it is.
void PutLook(Presentation& view, core::Surface& destination, const core::Surface& look) {
  view.screen.Locked([&](core::Surface&) { core::CopyAll(destination, look); });
}

}  // namespace

int CreateSurfaces(Presentation& view) {
  auto& g = view;
  const int w = view.services.config.width, h = view.services.config.height;
  g.screen.Create(w, h);
  for (core::Surface* s : {&g.sceneSurface, &g.pageSurface, &g.sceneCopySurface, &g.workPixels}) {
    s->Create(w, h);
  }
  g.barSurface.Create(kBarWidth, 2 * kBarHeight);
  g.waitCursorPixels.assign(graphics::kWaitCursorBytes, 0);
  OpenMessageFont(view);
  return g.screen.Empty() ? 0 : 1;
}

void OpenMessageFont(Presentation& view) {
  platform::FontRequest request;
  request.faceName = kMessageFace;
  request.cellHeight = kMessageCellHeight;
  request.weight = 400;
  auto& g = view;
  g.messageFont = view.services.platform.glyphs.OpenFont(request);
  // Which file stands in for the named face decides how every page looks: worth a line.
  if (view.services.platform.log.Enabled()) {
    view.services.Log("font " + view.services.Utf8(request.faceName) + " -> " +
                      (g.messageFont ? g.messageFont->FilePath() : std::string("none")));
  }
}

void ReleaseSurfaces(Presentation& view) {
  auto& g = view;
  g.screen.Release();
  for (core::Surface* s : {&g.sceneSurface, &g.pageSurface, &g.sceneCopySurface, &g.workPixels,
                           &g.barSurface, &g.buttonParts, &g.messageWindowPixels}) {
    s->Release();
  }
  g.waitCursorPixels.clear();
  g.messageFont.reset();
}

int ComposeScene(Presentation& view) {
  auto& g = view;
  core::CopyAll(g.sceneSurface, g.workPixels);
  core::CopyAll(g.sceneCopySurface, g.sceneSurface);
  if (view.messageWindowOpen == 1) BuildMessageWindow(view, 1);
  return PresentScene(view, view.NextTransition());
}

int LoadBackground(Presentation& view, const std::string& fullPath) {
  bool good = LoadBackgroundPixels(view, fullPath);
  ComposeScene(view);
  return good ? 1 : 0;
}

int DrawSprite(Presentation& view, int x, const std::string& path) {
  view.waitCursorOn = 0;
  view.messageWindowActive = 0;
  auto sprite = ReadSprite(view, view.services.baseDirectory + path, path);
  if (!sprite) return 0;
  auto& work = view.workPixels;
  BlendMaskedSprite(work, x, work.Height() - sprite->Height(), sprite->pixels, view.spriteAlpha);
  ComposeScene(view);
  return 1;
}

int FillScene(Presentation& view, uint32_t colour) {
  view.messageWindowShown = 0;
  view.messageWindowActive = 0;
  view.waitCursorOn = 0;
  auto& work = view.workPixels;
  int channel = -1;  // the one byte set to 255 for the three primaries
  switch (colour) {
    case 0x000000:
      break;
    case 0xFFFFFF:
      break;
    case 0x0000FF:
      channel = 2;
      break;
    case 0x00FF00:
      channel = 1;
      break;
    case 0xFF0000:
      channel = 0;
      break;
    default:
      return ComposeScene(view);
  }
  std::memset(work.Data(), colour == 0xFFFFFF ? 255 : 0, work.SizeBytes());
  if (channel >= 0) {
    for (int r = 0; r < work.Height(); ++r) {
      uint8_t* row = work.StoredRow(r);
      for (int c = 0; c < work.Width(); ++c) row[3 * c + channel] = 255;
    }
  }
  return ComposeScene(view);
}

int CopyRegion(Presentation& view, int x, int y, int w, int h, int sx, int sy) {
  auto& g = view;
  g.screen.Put(x, y, g.sceneSurface, sx, sy, w, h);
  g.screen.ShowScreen(x, y, w, h);
  return 1;
}

int BuildButtonBar(Presentation& view) {
  auto& g = view;
  core::CopyRect(g.barSurface, 0, 0, g.sceneSurface, 0, kBarTop, kBarWidth, kBarHeight);
  core::CopyRect(g.barSurface, 0, kBarHeight + 1, g.sceneSurface, 0, kBarTop, kBarWidth,
                 kBarHeight);
  DarkenRows(g.barSurface, 0, g.barSurface.Height(), view.brightnessLevel);
  BlendMaskedSprite(g.barSurface, 0, 0, g.buttonParts, 255);
  return 1;
}

int BuildMessageWindow(Presentation& view, int target) {
  auto& g = view;
  view.waitCursorOn = 0;
  core::Surface& destination = target == 1 ? g.pageSurface : g.sceneSurface;
  if (view.services.config.gameType == 1) {
    BuildButtonBar(view);
    const core::Surface* frame = MessageWindowPicture(view);
    if (!frame) return 1;
    core::Surface buffer = g.sceneSurface;
    BlendMaskedSprite(buffer, 0, 0, *frame, 255);
    PutLook(view, destination, buffer);
    return 1;
  }
  core::Surface buffer = g.workPixels;
  const int32_t level = view.brightnessLevel;
  DarkenRows(buffer, 0, kBandRows, level);
  for (int k = 0; k < kGradientRows; ++k) {
    const int32_t step = level - 6 * (k + 1);
    // A step of 0 or below leaves its row as it is: subtracting a negative step would wrap
    // light pixels round to dark ones.
    if (step > 0) DarkenRows(buffer, kBandRows + k, 1, step);
  }
  if (const core::Surface* band = MessageWindowPicture(view)) {
    BlendMaskedSprite(buffer, 0, kBarTop, *band, 255);
    PutLook(view, destination, buffer);
  }
  BuildButtonBar(view);
  return 1;
}

int ToggleMessageWindow(Presentation& view, int hide) {
  if (view.messageWindowActive != 1 || view.input.inputBusy != 0) return 1;
  auto& g = view;
  if (hide == 1) {
    view.waitCursorOn = 0;
    view.messageWindowShown = 0;
  } else {
    view.waitCursorOn = 1;
    view.messageWindowShown = 1;
  }
  g.screen.ShowAll(g.sceneSurface);
  g.screen.Locked([&](core::Surface& screen) {
    if (hide == 1) {
      core::CopyAll(g.sceneSurface, screen);
      core::CopyAll(screen, g.sceneCopySurface);
    } else {
      core::CopyAll(screen, g.sceneSurface);
      core::CopyAll(g.sceneSurface, g.sceneCopySurface);
    }
  });
  return 1;
}

}  // namespace qv::graphics
