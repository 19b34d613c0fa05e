// The save and load screens (see SaveLoadScreen.h).
#include "screens/SaveLoadScreen.h"

#include <mutex>

#include "core/WindowRequests.h"
#include "graphics/PictureFile.h"
#include "graphics/Transitions.h"
#include "graphics/WindowPicture.h"
#include "screens/MaskedBlend.h"
#include "screens/SlotList.h"

namespace qv::screens {

namespace {

struct Looks {
  const char* normal;
  const char* highlighted;
};

Looks LooksOf(int mode) {
  if (mode == kSaveScreen) return {"cg\\menu\\save_off.bmp", "cg\\menu\\save_on.bmp"};
  return {"cg\\menu\\load_off.bmp", "cg\\menu\\load_on.bmp"};
}

// Both looks: each menu picture blended over `game`, then the slots written on them.
int BuildLooks(core::Engine& engine, int mode, const core::Surface& game) {
  auto& g = engine.graphics;
  const Looks looks = LooksOf(mode);
  auto normal = LoadMenuPicture(engine, looks.normal);
  if (!normal) return 0;
  auto highlighted = LoadMenuPicture(engine, looks.highlighted);
  if (!highlighted) return 0;
  core::Surface scratch = game;
  BlendMaskedSprite(scratch, 0, 0, *normal, 255);
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.sceneSurface, scratch);
  }
  scratch = game;
  BlendMaskedSprite(scratch, 0, 0, *highlighted, 255);
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.pageSurface, scratch);
  }
  return DrawSlotList(engine, mode);
}

void GiveBack(core::Engine& engine) {
  auto& g = engine.graphics;
  auto& kept = engine.saveLoad;
  std::lock_guard lock(g.windowMutex);
  core::CopyAll(g.sceneSurface, kept.savedScene);
  core::CopyAll(g.pageSurface, kept.savedPage);
  core::CopyAll(g.sceneCopySurface, kept.savedSceneCopy);
}

}  // namespace

std::optional<core::Surface> LoadMenuPicture(core::Engine& engine, const std::string& path) {
  const std::string full = engine.baseDirectory + path;
  if (engine.platform.log.Enabled()) engine.Log("picture " + engine.Utf8(path));
  const int w = engine.config.width, h = engine.config.height;
  std::string why;
  std::optional<graphics::Picture> picture;
  if (auto bytes = engine.platform.files.ReadAll(full)) {
    picture = graphics::DecodePicture(*bytes, graphics::PictureKind::Sprite, w, h, why);
  }
  // Read as exactly two frames side by side: any other size would be misread row by row.
  if (!picture || picture->Width() != 2 * w || picture->Height() != h) {
    core::ShowWarning(engine, engine.Utf8(full));
    return std::nullopt;
  }
  return std::move(picture->pixels);
}

int OpenSaveLoadScreen(core::Engine& engine, int mode) {
  auto& g = engine.graphics;
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
  graphics::CrossFade(engine, 1);
  return 1;
}

int RedrawSaveLoadScreen(core::Engine& engine, int mode) {
  return BuildLooks(engine, mode, engine.graphics.sceneCopySurface);
}

int CloseSaveLoadScreen(core::Engine& engine) {
  auto& g = engine.graphics;
  engine.inputBusy = 1;
  {
    std::lock_guard lock(g.windowMutex);
    core::CopyAll(g.workPixels, g.sceneCopySurface);
    core::CopyAll(g.screenSurface, g.sceneCopySurface);
  }
  GiveBack(engine);
  if (engine.previousScreenMode == 0) engine.waitCursorOn = 1;
  graphics::ShowSurface(engine, g.screenSurface);
  FreeSaveLoadBackups(engine);
  engine.screenMode = engine.previousScreenMode.load();
  engine.inputBusy = 0;
  return 1;
}

void FreeSaveLoadBackups(core::Engine& engine) {
  auto& kept = engine.saveLoad;
  kept.savedScene.Release();
  kept.savedPage.Release();
  kept.savedSceneCopy.Release();
}

}  // namespace qv::screens
