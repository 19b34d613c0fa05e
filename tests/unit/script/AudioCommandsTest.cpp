// The sound commands' rules: substring matches, STOP and purge, skip and restore, CD tracks,
// effects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "script/Commands.h"
#include "support/FakePlatform.h"
#include "support/WavReader.h"

namespace qv::script {
namespace {

using core::GameState;
using platform::Message;
using test::FakeGame;
using ::testing::Contains;

// The requests the commands sent, in order.
std::vector<uint32_t> Requests(const FakeGame& game) {
  std::vector<uint32_t> ids;
  for (const Message& m : game.procedure.messages) ids.push_back(m.id);
  return ids;
}

TEST(OggPlay, SameOrContainedNamesAreLeftAloneAndStopIsSearchedInTheArgument) {
  FakeGame game("x\r\n");
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  OggPlay(game.engine, "$OGGPlay m01.ogg");  // the current path ends with it: the same music
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath, "C:\\game\\bgm\\m01.ogg");
  OggPlay(game.engine, "$OGGPlay bgm\\m02.ogg");
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath, "C:\\game\\bgm\\m02.ogg");
  OggPlay(game.engine, "$OGGPlay STOP");
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath, "");
  EXPECT_EQ(Requests(game),
            (std::vector<uint32_t>{platform::MSG_MUSIC_RESTART, platform::MSG_MUSIC_RESTART,
                                   platform::MSG_MUSIC_STOP}));
  // A folder named with STOP is no stop.
  game.engine.services.baseDirectory = "C:\\STOPPED\\";
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  EXPECT_EQ(Requests(game).back(), platform::MSG_MUSIC_RESTART);
  BgmWave(game.engine, "$BGMWave bgm\\w01.wav");
  EXPECT_EQ(Requests(game).back(), platform::MSG_WAVE_MUSIC_PLAY);
}

TEST(OggPlay, CdMusicGamesAndOverlongPathsStartNothing) {
  FakeGame game("x\r\n");
  game.engine.services.config.bgmFromCd = 1;
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  BgmWave(game.engine, "$BGMWave bgm\\w01.wav");
  EXPECT_TRUE(game.procedure.messages.empty());

  game.engine.services.config.bgmFromCd = 0;
  OggPlay(game.engine, "$OGGPlay bgm\\m01.ogg");
  // 259 bytes in all still fit; one more is refused whole, never cut to another file's name.
  const size_t room = 259 - game.engine.services.baseDirectory.size();
  OggPlay(game.engine, "$OGGPlay " + std::string(room + 1, 'a'));
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath, "C:\\game\\bgm\\m01.ogg");
  EXPECT_EQ(game.procedure.Count(platform::MSG_MUSIC_RESTART), 1);
  EXPECT_THAT(game.fakes.log.lines, Contains(::testing::StartsWith("path too long (260 bytes)")));
  OggPlay(game.engine, "$OGGPlay " + std::string(room, 'a'));
  EXPECT_EQ(game.engine.audio.musicPlayer.filePath.size(), 259u);
  EXPECT_EQ(game.procedure.Count(platform::MSG_MUSIC_RESTART), 2);
}

TEST(Talk, PurgeAlwaysCutsAndTheGuardsStartNothing) {
  FakeGame game("x\r\n");
  script::Engine& engine = game.engine;
  engine.services.env.seVolume = 100;
  engine.input.restoringGame = 1;
  Talk(engine, "$talk purge");
  Talk(engine, "$talk voice\\v01.ogg");  // restoring a saved game
  engine.input.restoringGame = 0;
  engine.services.env.seVolume = 0;
  Talk(engine, "$talk voice\\v01.ogg");  // SE volume 0 %
  engine.services.env.seVolume = 25;
  engine.input.advanceMode = core::AdvanceMode::Skip;
  Talk(engine, "$talk voice\\v01.ogg");  // skipping
  EXPECT_EQ(Requests(game), std::vector<uint32_t>{platform::MSG_VOICE_STOP});
  EXPECT_EQ(engine.audio.voicePlayer.filePath, "");

  engine.input.advanceMode =
      core::AdvanceMode::Auto;  // auto-advance plays, and the interpreter waits for it
  Talk(engine, "$talk voice\\v01.ogg");
  EXPECT_EQ(Requests(game).back(), platform::MSG_VOICE_PLAY);
  EXPECT_EQ(engine.audio.voicePlayer.filePath, "C:\\game\\voice\\v01.ogg");
}

TEST(Cdda, TracksAreBookkeptStopClearsTheSavedMusicAndOnlyAFoundCdPlays) {
  FakeGame game("x\r\n");
  script::Engine& engine = game.engine;
  auto musicField = [&] {
    return std::string(
        engine.script.state.Text(GameState::kMusicFileNameOffset, GameState::kPathSize));
  };
  engine.services.config.bgmFromCd = 1;
  Cdda(engine, "$cdda 5");  // no CD found
  engine.services.config.bgmFromCd = 0;
  engine.audio.cdFound = true;
  Cdda(engine, "$cdda 5");  // Ogg music
  Cdda(engine, "$cdda stop");
  engine.services.config.bgmFromCd = 1;
  Cdda(engine, "$cdda 1");  // the CD player's initial track: no request
  EXPECT_TRUE(game.procedure.messages.empty());
  EXPECT_EQ(musicField(), "1");

  Cdda(engine, "$cdda 5");
  Cdda(engine, "$cdda 5");
  ASSERT_EQ(game.procedure.messages.size(), 1u);
  EXPECT_EQ(game.procedure.messages[0].id, platform::MSG_CD_PLAY);
  EXPECT_EQ(game.procedure.messages[0].wParam, 5u);
  EXPECT_EQ(engine.audio.cdTrack, 5);
  EXPECT_EQ(musicField(), "5");

  engine.input.restoringGame = 1;
  Cdda(engine, "$cdda 7");
  EXPECT_EQ(engine.audio.cdTrack, 5);
  Cdda(engine, "$cdda stop");  // stop acts even while restoring
  EXPECT_EQ(engine.audio.cdTrack, 0);
  EXPECT_EQ(Requests(game).back(), platform::MSG_CD_STOP);
  EXPECT_EQ(musicField(), "");
}

TEST(WaveCommands, MusicKeepsItsPathAndEffectsPlayExceptWhileRestoring) {
  FakeGame game("x\r\n");
  BgmWave(game.engine, "$BGMWave bgm\\w01.wav");
  BgmWave(game.engine, "$BGMWave w01.wav");
  EXPECT_EQ(game.engine.audio.waveMusicFileName, "C:\\game\\bgm\\w01.wav");
  BgmWave(game.engine, "$BGMWave STOP");
  EXPECT_EQ(game.engine.audio.waveMusicFileName, "");
  EXPECT_EQ(Requests(game),
            (std::vector<uint32_t>{platform::MSG_WAVE_MUSIC_PLAY, platform::MSG_WAVE_MUSIC_STOP}));

  game.fakes.files.Put("C:\\game\\se\\a.wav", test::MakeWav(8000, 1, 8, {128, 255, 0}));
  game.engine.input.restoringGame = 1;
  Wave(game.engine, "$wave se\\a.wav");
  EXPECT_TRUE(game.fakes.audio.effects.empty());
  game.engine.input.restoringGame = 0;
  Wave(game.engine, "$wave se\\a.wav");
  Wave(game.engine, "$wave se\\missing.wav");
  ASSERT_EQ(game.fakes.audio.effects.size(), 1u);
  EXPECT_EQ(game.fakes.audio.effects[0].samples, (std::vector<int16_t>{0, 127 * 256, -128 * 256}));
  EXPECT_THAT(game.fakes.log.lines, Contains("se se\\a.wav"));
  EXPECT_THAT(game.fakes.log.lines, Contains("se missing se\\missing.wav"));
}

}  // namespace
}  // namespace qv::script
