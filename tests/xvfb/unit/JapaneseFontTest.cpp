// The dialogs' font: found through fontconfig as the game text's faces are.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fonts/FontLocator.h"
#include "platform/sdl/JapaneseFont.h"

namespace qv::platform::sdl {
namespace {

TEST(JapaneseFont, IsTheProportionalStandInOfTheDialogFace) {
  if (fonts::FontLocator().Candidates("", 400).empty()) GTEST_SKIP() << "no Japanese font";
  const FontFile font = FindJapaneseFont();
  ASSERT_FALSE(font.path.empty());
  const std::filesystem::path proportional = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
  std::error_code error;
  if (std::filesystem::is_regular_file(proportional, error)) {
    EXPECT_TRUE(std::filesystem::equivalent(font.path, proportional, error)) << font.path;
  }
}

}  // namespace
}  // namespace qv::platform::sdl
