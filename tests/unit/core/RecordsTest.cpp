// The byte-exact records: settings image and game-state slots.
#include <gtest/gtest.h>

#include "core/EnvSettings.h"
#include "core/GameState.h"

namespace qv::test {
namespace {

TEST(EnvSettingsImage, RoundTripsEveryByteAndLongerFilesGiveTheirFirst56) {
  std::vector<uint8_t> image(56);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
  core::EnvSettings env;
  env.ReadBytes(image);
  auto back = env.ToBytes();
  EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), image);
  EXPECT_EQ(env.seVolume, static_cast<int16_t>(image[12] | image[13] << 8));
  env.ReadBytes(std::vector<uint8_t>(80, 0xFF));
  EXPECT_EQ(env.messageSpeed, -1);
  EXPECT_EQ(env.ToBytes().size(), 56u);
}

// Choice conditions read flags by any number up to three digits: past the record they read 0.
TEST(GameState, TextFieldsKeepTheirTerminatorAndFlagsPastTheRecordReadZero) {
  core::GameState state;
  state.SetText(core::GameState::kPlayerNameOffset, core::GameState::kPlayerNameSize,
                "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(state.Text(core::GameState::kPlayerNameOffset, core::GameState::kPlayerNameSize),
            "ABCDEFGHIJ");
  EXPECT_EQ(state.Bytes()[core::GameState::kReturnLabelOffset], 0);
  EXPECT_EQ(state.EventFlag(1000), 0);
}

}  // namespace
}  // namespace qv::test
