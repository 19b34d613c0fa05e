// Every picture the engine reads, each through the loader and the drawing that use it: the first
// byte picks the kind, the rest is the file.
#include <string>

#include "FuzzGame.h"
#include "graphics/Compositing.h"
#include "graphics/PictureLoading.h"
#include "graphics/Transitions.h"
#include "screens/ChoiceBar.h"
#include "screens/Logo.h"
#include "screens/SaveLoadScreen.h"
#include "screens/WaitCursor.h"

namespace {

using qv::fuzz::FuzzGame;
namespace graphics = qv::graphics;
namespace screens = qv::screens;

enum Kind : uint8_t {
  kBackground,
  kSprite,
  kMask,
  kMessageWindow,
  kButtonParts,
  kWaitCursor,
  kAreaImage,
  kChoiceBar,
  kSaveLoadScreen,
  kLogo,
  kKinds
};

void Exercise(FuzzGame& game, Kind kind, std::string_view file) {
  auto& view = game.engine.view;
  const std::string& base = game.engine.services.baseDirectory;
  switch (kind) {
    case kBackground:
      game.PutEverywhere("cg\\bg.bmp", file);
      graphics::LoadBackground(view, base + "cg\\bg.bmp");
      return;
    case kSprite:
      game.PutEverywhere("cg\\sp.bmp", file);
      view.spriteAlpha = 200;
      graphics::DrawSprite(view, -3, "cg\\sp.bmp");
      return;
    case kMask:
      game.PutEverywhere("cg\\mask.bmp", file);
      graphics::PresentScene(view, {21, 64, base + "cg\\mask.bmp"});
      return;
    case kMessageWindow:
      game.PutEverywhere(graphics::kMessageWindowPicturePath, file);
      for (int type : {0, 1}) {
        game.engine.services.config.gameType = type;
        graphics::BuildMessageWindow(view, 1);
      }
      return;
    case kButtonParts:
      game.PutEverywhere(graphics::kButtonPartsPath, file);
      if (graphics::LoadButtonParts(view)) graphics::BuildButtonBar(view);
      return;
    case kWaitCursor:
      game.PutEverywhere(graphics::kWaitCursorPath, file);
      if (graphics::LoadWaitCursor(view)) {
        view.waitCursorOn = 1;
        for (int frame = 0; frame < 3; ++frame) screens::AnimateWaitCursor(view);
      }
      return;
    case kAreaImage:
      game.PutEverywhere("cg\\sel.bmp", file);
      graphics::LoadAreaImage(view, "cg\\sel.bmp");
      return;
    case kChoiceBar: {
      game.PutEverywhere(screens::kChoiceBarPath, file);
      game.engine.script.choices.count = 1;
      screens::DrawChoiceBar(view, game.engine.script.choices, "\x82\xa0\x82\xa2", 0);
      return;
    }
    case kSaveLoadScreen:
      for (const char* name : {"cg\\menu\\save_off.bmp", "cg\\menu\\save_on.bmp",
                               "cg\\menu\\load_off.bmp", "cg\\menu\\load_on.bmp"}) {
        game.PutEverywhere(name, file);
      }
      if (screens::OpenSaveLoadScreen(game.engine.saveLoad, qv::core::ScreenMode::Save)) {
        screens::RedrawSaveLoadScreen(game.engine.saveLoad, qv::core::ScreenMode::Load);
        screens::CloseSaveLoadScreen(game.engine.saveLoad);
      }
      return;
    case kLogo:
      game.PutEverywhere(screens::kLogoPicturePath, file);
      screens::ShowLogo(view);
      return;
    case kKinds:
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto kind = static_cast<Kind>(data[0] % kKinds);
  FuzzGame game("", 128, 64);
  game.Run([&] { Exercise(game, kind, qv::fuzz::Bytes(data + 1, size - 1)); });
  return 0;
}
