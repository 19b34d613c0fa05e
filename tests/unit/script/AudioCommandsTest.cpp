// The sound commands' rules a golden replay cannot reach: STOP beside the game's folder, an
// overlong path, wave music's bookkeeping, the guards of a replayed page and of skipping, CD
// tracks. (Matching names, purge and a voice at no volume are a golden replay's.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "script/Commands.h"
#include "support/FakePlatform.h"

namespace qv::script {
namespace {

using core::GameState;
using test::FakeGame;
using ::testing::Contains;

// The players' requests the commands made, in order, as the players log them.
std::vector<std::string> Requests(const FakeGame& game) {
  std::vector<std::string> lines;
  for (const std::string& line : game.fakes.log.lines) {
    if (line.starts_with("music ") || line.starts_with("voice ") || line.starts_with("cd ") ||
        line.starts_with("se "))
      lines.push_back(line);
  }
  return lines;
}

TEST(OggPlay, AFolderNamedWithStopIsNoStopAndOverlongPathsStartNothing) {
  FakeGame game("x\r\n");
  game.engine.services.baseDirectory = "C:\\STOPPED\\";
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath, "C:\\STOPPED\\bgm\\m01.ogg");
  // 259 bytes in all still fit; one more is refused whole, never cut to another file's name.
  const size_t room = 259 - game.engine.services.baseDirectory.size();
  OggPlay(game.engine, "$OGGPlay " + std::string(room + 1, 'a'));
  EXPECT_EQ(Requests(game).size(), 1u);
  EXPECT_THAT(game.fakes.log.lines, Contains(::testing::StartsWith("path too long (260 bytes)")));
  OggPlay(game.engine, "$OGGPlay " + std::string(room, 'a'));
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath.size(), 259u);
  EXPECT_EQ(Requests(game).size(), 2u);
}

TEST(BgmWave, OnlyRemembersTheFirstNamedUntilAStopAndNothingInCdMusicGames) {
  FakeGame game("x\r\n");
  game.engine.services.config.bgmFromCd = 1;
  BgmWave(game.engine, "$BGMWave bgm\\w01.wav");
  EXPECT_EQ(game.engine.audio.waveMusicFileName, "");
  game.engine.services.config.bgmFromCd = 0;
  for (const char* line : {"$BGMWave", "$BGMWave bgm\\w01.wav", "$BGMWave w01.wav"})
    BgmWave(game.engine, line);
  EXPECT_EQ(game.engine.audio.waveMusicFileName, "C:\\game\\bgm\\w01.wav");
  BgmWave(game.engine, "$BGMWave STOP");
  EXPECT_EQ(game.engine.audio.waveMusicFileName, "");
  EXPECT_TRUE(Requests(game).empty());
}

TEST(Talk, PurgeCutsEvenOnAReplayedPageWhichLikeASkipStartsNoVoiceOrSound) {
  FakeGame game("x\r\n");
  script::Engine& engine = game.engine;
  engine.services.env.seVolume = 100;
  engine.input.restoringGame = 1;
  engine.audio.voicePlaying = 1;
  Talk(engine, "$talk purge");
  Talk(engine, "$talk voice\\v01.ogg");
  Wave(engine, "$wave se\\a.wav");
  engine.input.restoringGame = 0;
  engine.input.advanceMode = core::AdvanceMode::Skip;
  Talk(engine, "$talk voice\\v01.ogg");
  EXPECT_EQ(Requests(game), std::vector<std::string>{"voice stop"});
  engine.input.advanceMode = core::AdvanceMode::Auto;  // auto-advance plays, and waits for it
  Talk(engine, "$talk voice\\v01.ogg");
  EXPECT_EQ(Requests(game), (std::vector<std::string>{"voice stop", "voice play voice\\v01.ogg"}));
}
// Only a found CD with CD music plays; a track is remembered and named in the saved game's music.
TEST(Cdda, TracksAreBookkeptAndStopActsEvenWhileRestoring) {
  FakeGame game("x\r\n");
  script::Engine& engine = game.engine;
  auto musicField = [&] {
    return std::string(
        engine.script.state.Text(GameState::kMusicFileNameOffset, GameState::kPathSize));
  };
  engine.services.config.bgmFromCd = 1;
  Cdda(engine, "$cdda 5");  // no CD found
  engine.audio.cdFound = true;
  engine.services.config.bgmFromCd = 0;
  Cdda(engine, "$cdda 5");  // Ogg music
  EXPECT_EQ(engine.audio.cdTrack, 1);
  engine.services.config.bgmFromCd = 1;
  Cdda(engine, "$cdda 5");
  EXPECT_EQ(engine.audio.cdTrack, 5);
  EXPECT_EQ(musicField(), "5");
  engine.input.restoringGame = 1;
  Cdda(engine, "$cdda 7");
  EXPECT_EQ(engine.audio.cdTrack, 5);
  Cdda(engine, "$cdda stop");
  EXPECT_EQ(engine.audio.cdTrack, 0);
  EXPECT_EQ(musicField(), "");
  // Ripped tracks: a track asked for again while it plays is no new request.
  engine.input.restoringGame = 0;
  engine.audio.cdRipped = true;
  for (const char* line : {"$cdda", "$cdda 5", "$cdda 5", "$cdda stop"}) Cdda(engine, line);
  EXPECT_EQ(Requests(game), (std::vector<std::string>{"cd play 5", "cd stop"}));
}

}  // namespace
}  // namespace qv::script
