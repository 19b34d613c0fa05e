// The players' requests: music started and stopped, end notices, a device that fails. (A voice
// line cutting the one before, wave music and a close while the voice plays are a golden
// replay's; an unripped CD's silence the CD command's test.)
#include "audio/AudioRequests.h"

#include <gtest/gtest.h>

#include "shell/MainWindow.h"
#include "support/FakePlatform.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"

namespace qv::test {
namespace {

using Kind = audio::AudioRequest::Kind;

struct AudioRequests : ::testing::Test {
  TempDir dir;
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  shell::MainWindow window{engine};
  FakeAudioDevice& device = game.fakes.audio;

  void SetUp() override {
    engine.services.baseDirectory = dir.Path() + "/";
    game.fakes.window.procedure = &window;
    engine.services.env.ApplyDefaults();
  }
  void PutOgg(const std::string& name, int frames) {
    WriteFile(dir.Path() + "/" + name, EncodeOgg(Tone(frames, 8000, 1), 8000, 1));
  }
  void Deliver(uint32_t id, uint32_t wParam = 0) { window.HandleMessage({id, wParam}); }
  void Ask(Kind kind, const std::string& name = "", int32_t track = 0) {
    audio::RequestAudio(engine.audio,
                        {kind, name.empty() ? "" : engine.services.baseDirectory + name, track});
  }
  const std::vector<std::string>& Log() { return game.fakes.log.lines; }
};

TEST_F(AudioRequests, MusicRestartsStopsEndsOnItsNoticeAndAFailureIsAWarningCaptionedBreak) {
  PutOgg("a.ogg", 3000);
  Ask(Kind::MusicPlay, "a.ogg");
  const platform::AudioHandle first = engine.audio.musicPlayer.Device();
  Ask(Kind::MusicPlay, "a.ogg");  // restarts: the playing stream is stopped first
  const platform::AudioHandle second = engine.audio.musicPlayer.Device();
  EXPECT_NE(first, second);
  EXPECT_FALSE(device.streams[first].open);
  // A notice naming the stopped stream changes nothing.
  Deliver(platform::MSG_STREAM_DONE, first);
  Deliver(platform::MSG_STREAM_DONE, 0);
  EXPECT_TRUE(engine.audio.musicPlayer.Playing());
  device.FinishAll(second);  // no instance file was read: the music plays once
  ASSERT_EQ(game.fakes.window.posted.size(), 1u);
  ASSERT_EQ(game.fakes.window.posted[0].id, platform::MSG_STREAM_DONE);
  window.HandleMessage(game.fakes.window.posted[0]);
  EXPECT_FALSE(engine.audio.musicPlayer.Playing());
  EXPECT_EQ(engine.audio.musicPlayer.Device(), 0u);
  Ask(Kind::MusicPlay, "a.ogg");
  Ask(Kind::MusicStop);
  EXPECT_FALSE(engine.audio.musicPlayer.Playing());
  EXPECT_EQ(engine.audio.musicPlayer.filePath, "") << "stopped music is no music to keep";
  EXPECT_EQ(Log(), (std::vector<std::string>{"music play a.ogg", "music play a.ogg", "music end",
                                             "music play a.ogg", "music stop"}));

  device.failOpen = true;
  Ask(Kind::MusicPlay, "a.ogg");
  ASSERT_EQ(game.fakes.ui.boxes.size(), 1u);
  EXPECT_EQ(game.fakes.ui.boxes[0].caption, "ブレイク");
  EXPECT_EQ(game.fakes.ui.boxes[0].text, "初期化失敗");
  EXPECT_EQ(game.fakes.ui.boxes[0].icon, platform::BoxIcon::Warning);
  EXPECT_FALSE(engine.audio.musicPlayer.Playing());
}

}  // namespace
}  // namespace qv::test
