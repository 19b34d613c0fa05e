// The game-state record's text fields and flags. (The settings image's bytes are checked by the
// golden replays that write and read env.dat.)
#include <gtest/gtest.h>

#include "core/GameState.h"

namespace qv::test {
namespace {

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
