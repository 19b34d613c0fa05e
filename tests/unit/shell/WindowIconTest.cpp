// The window's icon: the game's icon.bmp when it is a usable picture, else the engine's own.
#include "shell/WindowIcon.h"

#include <gtest/gtest.h>

#include "graphics/PictureFile.h"
#include "resources/EngineIcon.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

std::string Bitmap(int width, int height, uint8_t blue) {
  core::Surface picture;
  picture.Create(width, height);
  for (int r = 0; r < height; ++r) picture.StoredRow(r)[0] = blue;
  const std::vector<uint8_t> bytes = graphics::EncodeBitmap(picture);
  return std::string(bytes.begin(), bytes.end());
}

TEST(WindowIcon, TheGamesOwnWhenUsableElseTheEngines) {
  const std::vector<uint8_t> engineIcon = resources::EngineIcon();
  struct Case {
    const char* what;
    std::optional<std::string> file;
    int width;  // of the icon the window gets
  };
  const Case cases[] = {{"no icon.bmp", std::nullopt, resources::kEngineIconSize},
                        {"a 48 x 48 picture", Bitmap(48, 48, 7), 48},
                        {"too large", Bitmap(300, 20, 7), resources::kEngineIconSize},
                        {"not a picture", std::string("BMnonsense"), resources::kEngineIconSize}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeGame game("x\r\n");
    if (c.file) game.fakes.files.Put(std::string(kFakeBaseDirectory) + "icon.bmp", *c.file);
    shell::SetWindowIcon(game.engine);
    EXPECT_EQ(game.fakes.window.iconWidth, c.width);
    if (c.width == resources::kEngineIconSize) {
      EXPECT_EQ(game.fakes.window.icon, engineIcon);
    } else {
      EXPECT_EQ(game.fakes.window.icon[0], 7);  // the bottom row first, as the window takes it
    }
  }
}

}  // namespace
}  // namespace qv::test
