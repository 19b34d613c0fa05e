// Music and voice in a headless game where a golden replay cannot look: the same log run after run
// when the voice and a wait end together.
#include <gtest/gtest.h>

#include "support/HeadlessGame.h"
#include "support/OggCodec.h"

namespace qv::test {
namespace {

TEST(AudioGame, AVoiceEndingWithAWaitGivesTheSameLogEveryRun) {
  // The voice's last buffer and the wait fall due at the same instant; the interpreter and the
  // audio worker must still take turns in one order.
  const std::string script = "$talk voice.ogg\n$wait 1500\n$OGGPlay bgm.ogg\nb\n$C\n";
  const std::string music = EncodeOgg(Tone(44100, 22050, 2, 330), 22050, 2);
  const std::string voice = EncodeOgg(Tone(18000, 12000, 1, 500), 12000, 1);
  TempDir dir;
  auto run = [&] {
    const std::string folder = WriteGame(dir, {script});
    WriteFile(folder + "/bgm.ogg", music);
    WriteFile(folder + "/voice.ogg", voice);
    return Play(dir, "wait 2000\nclose\n").log;
  };
  const std::string first = run();
  EXPECT_NE(first.find("voice end"), std::string::npos);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(run(), first);
}

}  // namespace
}  // namespace qv::test
