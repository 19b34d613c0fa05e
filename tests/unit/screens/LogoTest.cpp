// The start-up logo: the reveal's strips and pace, the file's bytes. The right click that ends the
// hold is the end-to-end logo test's.
#include "screens/Logo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/Bytes.h"
#include "graphics/PictureFile.h"
#include "support/FakePlatform.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

void PutLogo(FakeGame& into, const std::vector<uint8_t>& file) {
  into.fakes.files.Put(std::string(kFakeBaseDirectory) + screens::kLogoPicturePath,
                       std::string(file.begin(), file.end()));
}

TEST(LogoScreen, RevealsEveryColumnOnceFromBothEdgesEverySevenMsThenHoldsThreeSeconds) {
  FakeGame game{"x\r\n"};
  ASSERT_EQ(game.CreateFrame(800, 600), 1);
  game.fakes.log.lines.clear();     // the font the surfaces opened
  core::Surface picture(800, 600);  // every pixel tells its column and row
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = picture.Row(y) + 3 * x;
      std::tie(p[0], p[1], p[2]) = std::tuple(x, x >> 8, y + 1);
    }
  }
  const std::vector<uint8_t> file = graphics::EncodeBitmap(picture);
  PutLogo(game, file);
  game.fakes.files.Put(std::string(kFakeBaseDirectory) + screens::kLogoSoundPath,
                       MakeWav(22050, 1, 16, std::vector<uint8_t>(4410, 1)));
  const FakeWindow& window = game.fakes.window;
  // Strip pair k is drawn at 7k ms: halfway and at the end of the reveal this many are up.
  std::vector<std::pair<size_t, bool>> seen;
  for (uint64_t at : {280, 560}) {
    game.fakes.clock.Schedule(at, [&] {
      seen.emplace_back(
          window.presented.size(),
          std::memcmp(window.picture.data(), file.data() + 54, window.picture.size()) == 0);
    });
  }
  EXPECT_EQ(screens::ShowLogo(game.engine.view), 1);
  EXPECT_EQ(seen, (std::vector<std::pair<size_t, bool>>{{1 + 80, false}, {1 + 160, true}}));
  const auto& shown = window.presented;
  ASSERT_EQ(shown.size(), 1u + 160 + 1 + 150);
  EXPECT_EQ(shown.front().width, 800);  // the black frame first
  std::vector<int> drawn(800, 0);
  for (size_t i = 1; i <= 160; ++i) {
    const auto& strip = shown[i];
    // Left strips move right from 0, right strips left from 795, taking turns.
    const int k = static_cast<int>(i - 1) / 2;
    EXPECT_EQ(strip.x, i % 2 == 1 ? 10 * k : 795 - 10 * k) << i;
    EXPECT_EQ(strip.width, 5);
    EXPECT_EQ(strip.height, 600);
    for (int x = strip.x; x < strip.x + strip.width; ++x) ++drawn[static_cast<size_t>(x)];
  }
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 1), 800);
  EXPECT_EQ(game.fakes.clock.nowMs(), 560u + 150 * 20);
  EXPECT_EQ(game.fakes.log.lines,
            (std::vector<std::string>{"logo", "se sound\\logo.wav", "logo end"}));
  EXPECT_EQ(game.fakes.audio.effects.size(), 1u);
  EXPECT_EQ(game.fakes.audio.effectStops, 0);
}

TEST(LogoScreen, ShowsTheFrameBytesFromThePixelOffsetAndNeverReadsPastTheFile) {
  // An 8 x 2 frame is 48 bytes of rows.
  std::vector<uint8_t> rows(100);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i + 1);
  auto withOffset = [&](uint32_t offset, size_t rowBytes) {
    std::vector<uint8_t> file(offset + rowBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    core::StoreI32(file.data() + 10, static_cast<int32_t>(offset));
    std::copy_n(rows.begin(), rowBytes, file.begin() + offset);
    return file;
  };
  std::vector<uint8_t> pastTheEnd = withOffset(54, 10);
  core::StoreI32(pastTheEnd.data() + 10, 1 << 30);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    size_t shownBytes;  // of `rows`; the rest stays black
  } cases[] = {
      {"a larger picture at another offset: its first bytes", withOffset(70, 100), 48},
      {"a short file", withOffset(54, 20), 20},
      {"the offset past the end", pastTheEnd, 0},
      {"no room for the offset", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54}, 0},
  };
  for (const Case& c : cases) {
    FakeGame fresh{"x\r\n"};
    ASSERT_EQ(fresh.CreateFrame(8, 2), 1);
    std::memset(fresh.fakes.window.picture.data(), 0xEE, fresh.fakes.window.picture.size());
    PutLogo(fresh, c.file);
    EXPECT_EQ(screens::ShowLogo(fresh.engine.view), 1) << c.what;
    std::vector<uint8_t> expected(48, 0);
    std::copy_n(rows.begin(), c.shownBytes, expected.begin());
    EXPECT_EQ(fresh.fakes.window.picture, expected) << c.what;
  }
}

}  // namespace
}  // namespace qv::test
