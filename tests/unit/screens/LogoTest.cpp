// The start-up logo: the reveal's strips and pace, the hold and its right click, the file's bytes.
#include "screens/Logo.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"
#include "graphics/PictureFile.h"
#include "support/FakePlatform.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

using platform::Message;

struct LogoScreen : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  FakeWindow& window = game.fakes.window;

  void SetUp() override {
    ASSERT_EQ(game.CreateFrame(800, 600), 1);
    game.fakes.log.lines.clear();  // the font the surfaces opened
  }

  // A picture whose every pixel tells its column and row.
  static std::vector<uint8_t> Pattern(int width, int height) {
    core::Surface picture(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint8_t* p = picture.Row(y) + 3 * x;
        p[0] = static_cast<uint8_t>(x);
        p[1] = static_cast<uint8_t>(x >> 8);
        p[2] = static_cast<uint8_t>(y + 1);
      }
    }
    return graphics::EncodeBitmap(picture);
  }
  static void PutLogo(FakeGame& into, const std::vector<uint8_t>& file) {
    into.fakes.files.Put(std::string(kFakeBaseDirectory) + screens::kLogoPicturePath,
                         std::string(file.begin(), file.end()));
  }
  void PutSound() {
    game.fakes.files.Put(std::string(kFakeBaseDirectory) + screens::kLogoSoundPath,
                         MakeWav(22050, 1, 16, std::vector<uint8_t>(4410, 1)));
  }
};

TEST_F(LogoScreen, RevealsEveryColumnOnceFromBothEdgesEverySevenMsThenHoldsThreeSeconds) {
  const std::vector<uint8_t> file = Pattern(800, 600);
  PutLogo(game, file);
  PutSound();
  // Strip pair k is drawn at 7k ms: halfway and at the end of the reveal this many are up.
  std::vector<std::pair<size_t, bool>> seen;
  for (uint64_t at : {280, 560}) {
    game.fakes.clock.Schedule(at, [&] {
      seen.emplace_back(
          window.presented.size(),
          std::memcmp(window.picture.data(), file.data() + 54, window.picture.size()) == 0);
    });
  }
  EXPECT_EQ(screens::ShowLogo(engine.view), 1);

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

TEST_F(LogoScreen, OnlyARightButtonReleaseEndsTheHoldOneMessageARound) {
  const Message click{platform::MSG_LBUTTONUP, 0, 0}, rclick{platform::MSG_RBUTTONUP, 0, 0},
      key{platform::MSG_KEYUP, 13, 0}, tick{platform::MSG_TIMER, 1, 0},
      move{platform::MSG_MOUSEMOVE, 0, 0};
  struct Case {
    std::vector<Message> input;
    uint64_t endMs;
    const char* last;
  } cases[] = {
      {{rclick}, 580, "logo end rclick"},
      {{click, key, tick, move, rclick}, 660, "logo end rclick"},
      {{click, key}, 3560, "logo end"},
  };
  for (const Case& c : cases) {
    FakeGame fresh{"x\r\n"};
    ASSERT_EQ(fresh.CreateFrame(800, 600), 1);
    PutLogo(fresh, Pattern(800, 600));
    fresh.fakes.window.pendingInput.assign(c.input.begin(), c.input.end());
    EXPECT_EQ(screens::ShowLogo(fresh.engine.view), 1);
    EXPECT_EQ(fresh.fakes.clock.nowMs(), c.endMs) << c.last;
    EXPECT_EQ(fresh.fakes.log.lines.back(), c.last);
    EXPECT_EQ(fresh.fakes.audio.effectStops, c.endMs < 3560 ? 1 : 0) << c.endMs;
    // Nothing taken reached the game.
    EXPECT_TRUE(fresh.procedure.messages.empty());
  }
}

TEST_F(LogoScreen, ShowsTheFrameBytesFromThePixelOffsetAndNeverReadsPastTheFile) {
  // An 8 x 2 frame is 48 bytes of rows.
  std::vector<uint8_t> rows(100);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i + 1);
  auto withOffset = [&](uint32_t offset, size_t rowBytes) {
    std::vector<uint8_t> file(offset, 0);
    file[0] = 'B';
    file[1] = 'M';
    core::StoreI32(file.data() + 10, static_cast<int32_t>(offset));
    file.insert(file.end(), rows.begin(), rows.begin() + static_cast<long>(rowBytes));
    return file;
  };
  std::vector<uint8_t> pastTheEnd = withOffset(54, 10);
  core::StoreI32(pastTheEnd.data() + 10, 1 << 30);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    size_t shownBytes;  // of `rows`; the rest stays black
  } cases[] = {
      {"exactly the frame", withOffset(54, 48), 48},
      {"a larger picture: its first bytes", withOffset(54, 100), 48},
      {"another offset", withOffset(70, 48), 48},
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
