// The save and load screens (see SaveLoadScreen.h).
#include "screens/SaveLoadScreen.h"

#include "core/WindowRequests.h"
#include "graphics/MaskedBlend.h"
#include "graphics/PictureFile.h"
#include "graphics/Screen.h"
#include "graphics/Transitions.h"
#include "screens/SlotList.h"

namespace qv::screens {

namespace {

struct Looks {
  const char* normal;
  const char* highlighted;
};

Looks LooksOf(core::ScreenMode mode) {
  if (mode == core::ScreenMode::Save) return {kSaveMenuPicturePaths[0], kSaveMenuPicturePaths[1]};
  return {kLoadMenuPicturePaths[0], kLoadMenuPicturePaths[1]};
}

// Both looks: each menu picture blended over `game`, then the slots written on them.
int BuildLooks(SaveLoadScreenState& screen, core::ScreenMode mode, const core::Surface& game) {
  auto& g = screen.view;
  const Looks looks = LooksOf(mode);
  auto normal = LoadMenuPicture(screen, looks.normal);
  if (!normal) return 0;
  auto highlighted = LoadMenuPicture(screen, looks.highlighted);
  if (!highlighted) return 0;
  core::Surface scratch = game;
  graphics::BlendMaskedSprite(scratch, 0, 0, *normal, 255);
  g.screen.Locked([&](core::Surface&) { core::CopyAll(g.sceneSurface, scratch); });
  scratch = game;
  graphics::BlendMaskedSprite(scratch, 0, 0, *highlighted, 255);
  g.screen.Locked([&](core::Surface&) { core::CopyAll(g.pageSurface, scratch); });
  return DrawSlotList(screen, mode);
}

void GiveBack(SaveLoadScreenState& screen) {
  auto& g = screen.view;
  auto& kept = screen;
  g.screen.Locked([&](core::Surface&) {
    core::CopyAll(g.sceneSurface, kept.savedScene);
    core::CopyAll(g.pageSurface, kept.savedPage);
    core::CopyAll(g.sceneCopySurface, kept.savedSceneCopy);
  });
}

}  // namespace

std::optional<core::Surface> DecodeMenuPicture(std::span<const uint8_t> file, int frameWidth,
                                               int frameHeight, std::string& why) {
  auto picture =
      graphics::DecodePicture(file, graphics::PictureKind::Sprite, frameWidth, frameHeight, why);
  if (!picture) return std::nullopt;
  if (picture->Width() != 2 * frameWidth || picture->Height() != frameHeight) {
    why = std::to_string(picture->Width()) + " x " + std::to_string(picture->Height()) +
          " instead of twice the frame's width by its height";
    return std::nullopt;
  }
  return std::move(picture->pixels);
}

std::optional<core::Surface> LoadMenuPicture(SaveLoadScreenState& screen, const std::string& path) {
  const std::string full = screen.view.services.baseDirectory + path;
  if (screen.view.services.platform.log.Enabled())
    screen.view.services.Log("picture " + screen.view.services.Utf8(path));
  const int w = screen.view.services.config.width, h = screen.view.services.config.height;
  std::string why;
  std::optional<core::Surface> pixels;
  if (auto bytes = screen.view.services.platform.files.ReadAll(full)) {
    pixels = DecodeMenuPicture(*bytes, w, h, why);
  }
  if (!pixels) core::ShowWarning(screen.view.services, screen.view.services.Utf8(full));
  return pixels;
}

int OpenSaveLoadScreen(SaveLoadScreenState& screen, core::ScreenMode mode) {
  auto& g = screen.view;
  auto& kept = screen;
  kept.savedScene = g.sceneSurface;
  kept.savedPage = g.pageSurface;
  kept.savedSceneCopy = g.sceneCopySurface;
  core::Surface game;
  g.screen.Locked([&](core::Surface& shown) {
    core::CopyAll(g.sceneCopySurface, shown);
    game = shown;
  });
  if (!BuildLooks(screen, mode, game)) {
    // Staying in the game beats a screen mode with nothing on the screen to leave it by.
    GiveBack(screen);
    FreeSaveLoadBackups(screen);
    return 0;
  }
  graphics::CrossFade(screen.view, 1);
  return 1;
}

int RedrawSaveLoadScreen(SaveLoadScreenState& screen, core::ScreenMode mode) {
  return BuildLooks(screen, mode, screen.view.sceneCopySurface);
}

int CloseSaveLoadScreen(SaveLoadScreenState& screen) {
  auto& g = screen.view;
  core::InputBusy busy(screen.view.input);
  g.screen.Locked([&](core::Surface& shown) {
    core::CopyAll(g.workPixels, g.sceneCopySurface);
    core::CopyAll(shown, g.sceneCopySurface);
  });
  GiveBack(screen);
  if (screen.view.input.previousScreenMode == core::ScreenMode::Game) screen.view.waitCursorOn = 1;
  g.screen.ShowScreen();
  FreeSaveLoadBackups(screen);
  screen.view.input.screenMode = screen.view.input.previousScreenMode.load();
  return 1;
}

void FreeSaveLoadBackups(SaveLoadScreenState& screen) {
  auto& kept = screen;
  kept.savedScene.Release();
  kept.savedPage.Release();
  kept.savedSceneCopy.Release();
}

}  // namespace qv::screens
