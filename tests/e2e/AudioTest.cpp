// Music and voice in a headless game: what music.wav and voice.wav hold, and when the voice ends.
#include <gtest/gtest.h>

#include "support/HeadlessGame.h"
#include "support/OggCodec.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

struct AudioGame : ::testing::Test {
  TempDir dir;
  std::string music, voice;
  void SetUp() override {
    music = EncodeOgg(Tone(44100, 22050, 2, 330), 22050, 2);  // 2 s, loops
    voice = EncodeOgg(Tone(18000, 12000, 1, 500), 12000, 1);  // 1.5 s, once
  }
  GameRun Run(const std::string& script, const std::string& events) {
    std::string folder = WriteGame(dir, {script});
    WriteFile(folder + "/bgm.ogg", music);
    WriteFile(folder + "/voice.ogg", voice);
    return Play(dir, events);
  }
};

TEST_F(AudioGame, RecordsTheMusicAndTheVoiceAtTheirVolumes) {
  GameRun run = Run("$OGGPlay bgm.ogg\n$talk voice.ogg\na\n$C\n", "wait 3000\nclose\n");
  auto times = run.Times();
  ASSERT_TRUE(times.contains("voice end"));
  EXPECT_EQ(times["voice end"] - times["voice play voice.ogg"], 1500);

  // No env.dat: the voice plays at the SE volume of 100 %, the music at the BGM volume of 75 %.
  std::optional<WavData> voiceWav = ReadWav(run.outDir + "/voice.wav");
  ASSERT_TRUE(voiceWav);
  EXPECT_EQ(voiceWav->samples, AtVolume(DecodeOgg(voice).samples, 100));

  std::vector<int16_t> musicAt75 = AtVolume(DecodeOgg(music).samples, 75);
  std::optional<WavData> musicWav = ReadWav(run.outDir + "/music.wav");
  ASSERT_TRUE(musicWav);
  EXPECT_EQ(musicWav->rate, 22050);
  EXPECT_EQ(musicWav->channels, 2);
  // About three seconds: the music looped once, seamlessly, and stopped at the close.
  const size_t frames = musicWav->samples.size() / 2;
  EXPECT_GE(frames, 22050u * 3 - 22050 / 100);
  EXPECT_LE(frames, 22050u * 3 + 22050 / 10);
  for (size_t i = 0; i < musicWav->samples.size(); ++i) {
    ASSERT_EQ(musicWav->samples[i], musicAt75[i % musicAt75.size()]) << "sample " << i;
  }
}

TEST_F(AudioGame, AVoiceEndingWithAWaitGivesTheSameLogEveryRun) {
  // The voice's last buffer and the wait fall due at the same instant; the interpreter and the
  // audio worker must still take turns in one order.
  const std::string script = "$talk voice.ogg\n$wait 1500\n$OGGPlay bgm.ogg\nb\n$C\n";
  const std::string first = Run(script, "wait 2000\nclose\n").log;
  EXPECT_NE(first.find("voice end"), std::string::npos);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Run(script, "wait 2000\nclose\n").log, first);
}

}  // namespace
}  // namespace qv::test
