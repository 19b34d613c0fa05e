// The players' requests: players started and stopped, end notices, the silence of an unripped CD.
#include "audio/AudioRequests.h"

#include <gtest/gtest.h>

#include "script/Commands.h"
#include "shell/MainWindow.h"
#include "support/FakePlatform.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"

namespace qv::test {
namespace {

using platform::Message;
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
  // Plays `handle` to its end and hands the end notice to the window procedure.
  void PlayToEnd(platform::AudioHandle handle) {
    const size_t before = game.fakes.window.posted.size();
    device.FinishAll(handle);
    ASSERT_EQ(game.fakes.window.posted.size(), before + 1);
    const Message notice = game.fakes.window.posted.back();
    ASSERT_EQ(notice.id, platform::MSG_STREAM_DONE);
    window.HandleMessage(notice);
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
  PlayToEnd(second);  // no instance file was read: the music plays once
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

TEST_F(AudioRequests, VoiceFlagFollowsStartsStopsAndTalks) {
  Ask(Kind::VoicePlay, "missing.ogg");
  EXPECT_EQ(engine.audio.voicePlaying, 1) << "a failed start still counts until a click";
  Ask(Kind::VoiceStop);
  EXPECT_EQ(engine.audio.voicePlaying, 0);

  // Two talks without a click between them cut the first and start nothing.
  PutOgg("long.ogg", 20000);
  engine.services.env.seVolume = 100;
  for (bool playing : {true, false, true}) {
    script::Talk(engine, "$talk long.ogg");
    EXPECT_EQ(engine.audio.voicePlayer.Playing(), playing);
    EXPECT_EQ(engine.audio.voicePlaying, playing ? 1 : 0);
  }
}

TEST_F(AudioRequests, UnrippedCdAndWaveMusicAreSilentAndShutDownStopsAll) {
  Ask(Kind::CdPlay, "", 3);
  script::BgmWave(engine, "$BGMWave w.wav");
  EXPECT_TRUE(device.streams.empty());
  EXPECT_TRUE(Log().empty());
  PutOgg("a.ogg", 20000);
  Ask(Kind::MusicPlay, "a.ogg");
  Ask(Kind::VoicePlay, "a.ogg");
  shell::ShutdownCleanup(engine);
  EXPECT_FALSE(engine.audio.musicPlayer.Playing());
  EXPECT_FALSE(engine.audio.voicePlayer.Playing());
  for (const auto& [handle, stream] : device.streams) EXPECT_FALSE(stream.open) << handle;
}

}  // namespace
}  // namespace qv::test
