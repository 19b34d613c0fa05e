// The streaming player's stops and failures, on a scripted device. (Every sample played once and
// the end noticed after the last are the end-to-end audio test's; the seamless loop at a volume,
// which truncates toward zero, is the golden replay's that records the music.)
#include "audio/OggStreamPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/FakePlatform.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"

namespace qv::audio {
namespace {

using Player = OggStreamPlayer;
using platform::MSG_STREAM_DONE;

class OggStreamPlayerTest : public ::testing::Test {
 protected:
  // Writes an Ogg file of `samples` and points the player at it.
  void UseFile(const std::vector<int16_t>& samples, int rate, int channels) {
    test::WriteFile(dir.Path() + "/sound.ogg", test::EncodeOgg(samples, rate, channels));
    player->filePath = dir.Path() + "/sound.ogg";
  }
  long StreamDoneCount() const {
    return std::count_if(window.posted.begin(), window.posted.end(),
                         [](const platform::Message& m) { return m.id == MSG_STREAM_DONE; });
  }

  test::TempDir dir;
  test::FakeFiles files{"/"};
  test::FakeAudioDevice device;
  test::FakeWindow window;
  std::vector<std::string> warnings;
  std::atomic<int32_t> voicePlaying{1};
  std::unique_ptr<Player> player = std::make_unique<Player>(
      device, files, platform::AudioChannel::Voice,
      [this](const std::string& text) { warnings.push_back(text); }, &voicePlaying);
};

TEST_F(OggStreamPlayerTest, StopOrANewPlayTakesTheQueueBackAndAllowsANewStart) {
  EXPECT_EQ(player->Stop(), 1);  // closed: nothing to do
  EXPECT_EQ(device.resets, 0);
  UseFile(test::Tone(100000, 8000, 1), 8000, 1);
  ASSERT_EQ(player->Play(window), 1);
  EXPECT_EQ(player->Length(0), Player::kBufferBytes);
  const platform::AudioHandle first = player->Device();
  ASSERT_TRUE(device.FinishNext(first));
  EXPECT_EQ(player->Stop(), 1);
  EXPECT_EQ(player->Device(), 0u);
  EXPECT_FALSE(player->Playing());
  EXPECT_EQ(device.Queued(first), 0u);
  EXPECT_FALSE(device.streams[first].open);
  EXPECT_EQ(voicePlaying, 0) << "the reset's completions clear the voice flag";
  EXPECT_EQ(StreamDoneCount(), 0);

  ASSERT_EQ(player->Play(window), 1);
  const platform::AudioHandle second = player->Device();
  EXPECT_NE(second, first) << "a new stream gets a new handle";
  ASSERT_EQ(player->Play(window), 1);  // playing while open stops the old stream first
  EXPECT_FALSE(device.streams[second].open);
  EXPECT_EQ(device.Queued(second), 0u);
}

TEST_F(OggStreamPlayerTest, FailuresLeaveThePlayerClosedAndOnlyDeviceFailuresShowAMessage) {
  for (const char* bytes : {"", "RIFF this is no Ogg Vorbis stream at all"}) {
    player->filePath = dir.Path() + (*bytes ? "/text.ogg" : "/none.ogg");
    if (*bytes) test::WriteFile(player->filePath, bytes);
    EXPECT_EQ(player->Play(window), 0) << player->filePath;
  }
  EXPECT_TRUE(warnings.empty());
  EXPECT_TRUE(device.streams.empty());

  UseFile(test::Tone(100000, 8000, 1), 8000, 1);
  device.failOpen = true;
  EXPECT_EQ(player->Play(window), 0);
  EXPECT_EQ(warnings, std::vector<std::string>{"初期化失敗"});
  EXPECT_EQ(player->Device(), 0u);

  // A refused first submission: closed again, no message, and the next start works.
  device.failOpen = false;
  device.failWriteAfter = 1;
  EXPECT_EQ(player->Play(window), 0);
  EXPECT_EQ(player->Device(), 0u);
  EXPECT_FALSE(player->Playing());
  EXPECT_EQ(warnings.size(), 1u);
  device.failWriteAfter = -1;
  ASSERT_EQ(player->Play(window), 1);

  // A refused refill: its message, and the stream stalls until stopped.
  device.failWriteAfter = 0;
  ASSERT_TRUE(device.FinishNext(player->Device()));
  EXPECT_EQ(warnings.back(), "諸般の事情によりフリップ失敗");
  EXPECT_TRUE(player->Playing());
  EXPECT_EQ(player->Stop(), 1);
}

// (Music without a sample, which would loop empty buffers for ever, is a golden replay's.)
TEST_F(OggStreamPlayerTest, ABrokenStreamEndsInsteadOfHanging) {
  // Cut in the middle: what decodes plays, then the stream ends as at its end.
  std::string bytes = test::EncodeOgg(test::Tone(200000, 8000, 1), 8000, 1);
  test::WriteFile(dir.Path() + "/cut.ogg", bytes.substr(0, bytes.size() / 2));
  player->filePath = dir.Path() + "/cut.ogg";
  ASSERT_EQ(player->Play(window), 1);
  EXPECT_LT(device.FinishAll(player->Device()), 20);
  EXPECT_EQ(StreamDoneCount(), 1);
}

}  // namespace
}  // namespace qv::audio
