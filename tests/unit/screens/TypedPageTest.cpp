// A page typed with the real rasteriser and the pinned font (IPAGothic of fonts-ipafont-gothic
// 00303): its pixels must stay what they were, whatever is changed in the text layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "graphics/Compositing.h"
#include "platform/common/TableCp932.h"
#include "platform/fonts/FreeTypeGlyphs.h"
#include "screens/TextOutput.h"
#include "support/FakePlatform.h"
#include "support/Fnv1a.h"

namespace qv::test {
namespace {

constexpr const char* kPinnedFont = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr uintmax_t kPinnedFontSize = 6235344;

TEST(TypedPage, MatchesTheChecksumMadeWithThePinnedFont) {
  platform::TableCp932 cp932;
  platform::fonts::FreeTypeGlyphs glyphs(cp932);
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  ASSERT_EQ(game.CreateFrame(800, 600), 1);
  engine.view.messageFont = glyphs.OpenFont(
      {"\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", graphics::kMessageCellHeight, 400});
  const auto font = engine.view.messageFont;
  std::error_code error;
  if (!font || std::filesystem::canonical(font->FilePath(), error) != kPinnedFont ||
      std::filesystem::file_size(kPinnedFont, error) != kPinnedFontSize) {
    GTEST_SKIP() << "the pinned font is not the one in use";
  }
  engine.services.env.messageSpeed = 0;
  for (const char* line :
       {"陽菜「おはよう、晴臣。今日は約束の日だったよね」", "Quick brown fox 0123456789 !?#&()[]",
        "カーテンの隙間から差し込む光が、床の上に細長い四角を描いていた。春の朝"}) {
    std::string sjis;
    size_t bad = 0;
    ASSERT_TRUE(cp932.FromUtf8(line, sjis, bad));
    screens::ShowTextLine(engine.view, sjis);
  }
  const core::Surface& screen = engine.view.screen.Surface();
  // The seed the pinned checksum was made with.
  const uint64_t hash = test::Fnv1a({screen.Data(), screen.SizeBytes()}, 1469598103934665603ull);
  // Made with this rasteriser, IPAGothic 00303 and FreeType 2.12. A change here means the text
  // looks different: check a capture by eye before taking the new number.
  EXPECT_EQ(hash, 0x997bcc18f42e22b9ull) << std::hex << hash;
}

}  // namespace
}  // namespace qv::test
