// The save and load screens (see SaveLoadScreen.h).
#include "screens/SaveLoadScreen.h"

#include <mutex>

#include "core/WindowRequests.h"
#include "graphics/MaskedBlend.h"
#include "graphics/PictureFile.h"
#include "graphics/Transitions.h"
#include "graphics/WindowPicture.h"
#include "screens/SlotList.h"

namespace qv::screens {

namespace {

struct Looks {
  const char* normal;
  const char* highlighted;
};

Looks LooksOf(core::ScreenMode mode) {
  if (mode == core::ScreenMode::Save) return {"cg\\menu\\save_off.bmp", "cg\\menu\\save_on.bmp"};
  return {"cg\\menu\\load_off.bmp", "cg\\menu\\load_on.bmp"};
}

// Both looks: each menu picture blended over `game`, then the slots written on them.
int BuildLooks(script::Engine& engine, core::ScreenMode mode, const core::Surface& game) {
  auto& g = engine.view;
  const Looks looks = LooksOf(mode);
  auto normal = LoadMenuPicture(engine, looks.normal);
  if (!normal) return 0;
  auto highlighted = LoadMenuPicture(engine, looks.highlighted);
  if (!highlighted) return 0;
  core::Surface scratch = game;
  graphics::BlendMaskedSprite(scratch, 0, 0, *normal, 255);
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.sceneSurface, scratch);
  }
  scratch = game;
  graphics::BlendMaskedSprite(scratch, 0, 0, *highlighted, 255);
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.pageSurface, scratch);
  }
  return DrawSlotList(engine, mode);
}

void GiveBack(script::Engine& engine) {
  auto& g = engine.view;
  auto& kept = engine.saveLoad;
  std::lock_guard lock(g.windowMutex);
  core::CopyAll(g.sceneSurface, kept.savedScene);
  core::CopyAll(g.pageSurface, kept.savedPage);
  core::CopyAll(g.sceneCopySurface, kept.savedSceneCopy);
}

}  // namespace

std::optional<core::Surface> LoadMenuPicture(script::Engine& engine, const std::string& path) {
  const std::string full = engine.services.baseDirectory + path;
  if (engine.services.platform.log.Enabled())
    engine.services.Log("picture " + engine.services.Utf8(path));
  const int w = engine.services.config.width, h = engine.services.config.height;
  std::string why;
  std::optional<graphics::Picture> picture;
  if (auto bytes = engine.services.platform.files.ReadAll(full)) {
    picture = graphics::DecodePicture(*bytes, graphics::PictureKind::Sprite, w, h, why);
  }
  // Read as exactly two frames side by side: any other size would be misread row by row.
  if (!picture || picture->Width() != 2 * w || picture->Height() != h) {
    core::ShowWarning(engine.services, engine.services.Utf8(full));
    return std::nullopt;
  }
  return std::move(picture->pixels);
}

int OpenSaveLoadScreen(script::Engine& engine, core::ScreenMode mode) {
  auto& g = engine.view;
  auto& kept = engine.saveLoad;
  kept.savedScene = g.sceneSurface;
  kept.savedPage = g.pageSurface;
  kept.savedSceneCopy = g.sceneCopySurface;
  core::Surface game;
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.sceneCopySurface, g.screenSurface);
    game = g.screenSurface;
  }
  if (!BuildLooks(engine, mode, game)) {
    // Staying in the game beats a screen mode with nothing on the screen to leave it by.
    GiveBack(engine);
    FreeSaveLoadBackups(engine);
    return 0;
  }
  graphics::CrossFade(engine.view, 1);
  return 1;
}

int RedrawSaveLoadScreen(script::Engine& engine, core::ScreenMode mode) {
  return BuildLooks(engine, mode, engine.view.sceneCopySurface);
}

int CloseSaveLoadScreen(script::Engine& engine) {
  auto& g = engine.view;
  engine.input.inputBusy = 1;
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.workPixels, g.sceneCopySurface);
    core::CopyAll(g.screenSurface, g.sceneCopySurface);
  }
  GiveBack(engine);
  if (engine.input.previousScreenMode == core::ScreenMode::Game) engine.view.waitCursorOn = 1;
  graphics::ShowSurface(engine.view, g.screenSurface);
  FreeSaveLoadBackups(engine);
  engine.input.screenMode = engine.input.previousScreenMode.load();
  engine.input.inputBusy = 0;
  return 1;
}

void FreeSaveLoadBackups(script::Engine& engine) {
  auto& kept = engine.saveLoad;
  kept.savedScene.Release();
  kept.savedPage.Release();
  kept.savedSceneCopy.Release();
}

}  // namespace qv::screens
