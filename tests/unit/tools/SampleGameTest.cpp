// The bundled sample: the folder make-sample writes, its pictures and sounds in the shapes the
// engine takes, and a script start the return to the title can land on. That the instance file,
// the script's jumps and items and the files it names are as the engine reads them is qvtool
// lint's check (GameLintTest).
#include "qvtool/SampleGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>

#include "audio/WavFile.h"
#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/SamplePictures.h"
#include "qvtool/SampleSounds.h"
#include "qvtool/ScriptCodec.h"
#include "qvtool/VorbisEncoding.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"

namespace qv::tool {
namespace {

namespace fs = std::filesystem;
using graphics::PictureKind;

std::string ReadOrFail(const fs::path& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(path, bytes, error)) << path << ": " << error;
  return bytes;
}

TEST(SampleGame, MakeSampleWritesTheTreesScriptRefusesAFileAndWarnsOfAScriptPlayedFirst) {
  test::TempDir dir;
  platform::posix::IconvCp932 cp932;
  const fs::path folder = fs::path(dir.Path()) / "nested" / "sample";
  const GameFolderOutcome outcome = MakeSample(folder, cp932);
  ASSERT_TRUE(outcome.succeeded) << outcome.messages.front();
  EXPECT_TRUE(outcome.messages.empty());
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  EXPECT_EQ(names,
            (std::set<std::string>{"bgm", "cg", "sample.ist", "sample.qv", "sound", "voice"}));
  const ScriptDecoding script = DecodeScript(ReadOrFail(folder / "sample.qv"), cp932);
  EXPECT_EQ(script.key, core::kScriptKey);
  EXPECT_TRUE(script.text.bytes == ReadOrFail(fs::path(QV_SOURCE_DIR) / "games/sample/script.txt"))
      << "the built-in sample is stale; rebuild";

  // A file where the folder should be is kept; an older script in the folder is warned of.
  std::ofstream(folder / "occupied") << "keep me";
  GameFolderOutcome refused = MakeSample(folder / "occupied", cp932);
  EXPECT_FALSE(refused.succeeded);
  ASSERT_EQ(refused.messages.size(), 1u);
  EXPECT_NE(refused.messages[0].find("not a folder"), std::string::npos);
  EXPECT_EQ(ReadOrFail(folder / "occupied"), "keep me");
  std::ofstream(folder / "old.QV") << "x";
  std::ofstream(folder / "zz.qv") << "x";
  refused = MakeSample(folder, cp932);
  ASSERT_TRUE(refused.succeeded);
  ASSERT_EQ(refused.messages.size(), 1u);
  EXPECT_NE(refused.messages[0].find("old.QV"), std::string::npos);
}

// The return to the title restarts the script at byte 2 after a wait and at byte 0 after a
// choice: neither may land on a line that shows text, such as a comment missing its ';'.
TEST(SampleScript, TheReturnToTheTitleLandsOnNoVisibleLine) {
  platform::posix::IconvCp932 cp932;
  const std::string text = ScrambleScript(EncodeScript(SampleGameSources().script, cp932).bytes);
  for (size_t start : {0u, 2u}) {
    const std::string_view line =
        std::string_view(text).substr(start, text.find("\r\n", start) - start);
    EXPECT_TRUE(line.empty() || line[0] == ';' || line[0] == ':') << start << ": " << line;
  }
}

TEST(SamplePictures, EveryPicturePassesTheChecksOfItsUse) {
  constexpr int kW = 800, kH = 600;
  const std::map<std::string, PictureKind> interfaceParts = {
      {"cg\\menu\\bar_a.bmp", PictureKind::MessageWindow},
      {"cg\\menu\\btnprts.bmp", PictureKind::ButtonParts},
      {"cg\\menu\\waitcur.bmp", PictureKind::WaitCursor},
      {"cg\\menu\\menubar.bmp", PictureKind::ChoiceBar},
  };
  // Both looks of the message window: the shaded band and the whole-frame overlay.
  for (int gameType : {0, 1}) {
    SCOPED_TRACE(gameType);
    size_t masks = 0;
    const std::vector<SamplePicture> pictures = SamplePictures(kW, kH, gameType);
    EXPECT_EQ(pictures.size(), 25u);
    for (const SamplePicture& picture : pictures) {
      SCOPED_TRACE(picture.path);
      const std::string& path = picture.path;
      std::string why;
      if (path.starts_with("cg\\mask\\")) {
        const auto mask = graphics::DecodeMask(picture.bytes, why);
        ASSERT_TRUE(mask) << why;
        EXPECT_EQ(mask->indices.size(), kW * kH * 1u);
        ++masks;
        continue;
      }
      // Only event images have an image number right after the first backslash.
      const bool numbered = std::isdigit(path[3]) && std::isdigit(path[4]);
      EXPECT_EQ(numbered, path.starts_with("cg\\0")) << "image number";
      const bool menuScreen =
          path.find("\\save_") != std::string::npos || path.find("\\load_") != std::string::npos;
      const PictureKind kind = interfaceParts.contains(path)              ? interfaceParts.at(path)
                               : path.starts_with("cg\\bg\\") || numbered ? PictureKind::Background
                               : path.starts_with("cg\\chara\\") || menuScreen
                                   ? PictureKind::Sprite
                                   : PictureKind::AreaImage;  // the logo exactly the frame too
      std::vector<uint8_t> bytes = picture.bytes;
      if (kind == PictureKind::Background) graphics::ScrambleBackground(bytes);
      const auto decoded = graphics::DecodePicture(bytes, kind, kW, kH, why);
      ASSERT_TRUE(decoded) << why;
      // Readers of fixed byte counts: the choice bar's 96000, the menu screens' W x H x 6.
      const size_t size = decoded->pixels.SizeBytes();
      EXPECT_TRUE(kind != PictureKind::ChoiceBar || size == 96000u) << size;
      EXPECT_TRUE(!menuScreen || size == kW * kH * 6u) << size;
      EXPECT_TRUE(kind != PictureKind::MessageWindow || decoded->Height() == (gameType ? kH : 22));
    }
    EXPECT_EQ(masks, 2u);
  }
}

// Every sound as the engine reads it: channels, rate, a playing time within bounds that matches
// the one declared, and audible. The music must also loop without a click of its own.
TEST(SampleSounds, EveryFileIsPlayableInItsShape) {
  const SampleSoundsOutcome made = SampleSounds();
  ASSERT_TRUE(made.succeeded) << made.error;
  struct Shape {
    uint32_t channels, rate;
    double minSeconds, maxSeconds;
  };
  const std::map<std::string, Shape> shapes = {
      {"sound\\logo.wav", {1, 22050, 0.03, 2.5}},  {"sound\\move.wav", {1, 22050, 0.03, 2.5}},
      {"sound\\click.wav", {1, 22050, 0.03, 2.5}}, {"bgm\\theme.ogg", {2, 44100, 20, 30}},
      {"bgm\\evening.ogg", {2, 44100, 8, 16}},     {"voice\\hina01.ogg", {1, 22050, 1, 3}},
      {"voice\\hina02.ogg", {1, 22050, 1, 3}},     {"voice\\aoi01.ogg", {1, 22050, 1, 3}},
      {"voice\\aoi02.ogg", {1, 22050, 1, 3}}};
  ASSERT_EQ(made.sounds.size(), shapes.size());
  size_t total = 0;
  for (const SampleSound& sound : made.sounds) {
    SCOPED_TRACE(sound.path);
    ASSERT_TRUE(shapes.contains(sound.path));
    const Shape& shape = shapes.at(sound.path);
    total += sound.bytes.size();
    platform::PcmClip clip;
    if (sound.path.ends_with(".wav")) {
      std::string why;
      ASSERT_TRUE(audio::ParseWav(sound.bytes, clip, why)) << why;
    } else {
      const test::DecodedOgg decoded = test::DecodeOgg({sound.bytes.begin(), sound.bytes.end()});
      clip.format = {static_cast<uint32_t>(decoded.rate), static_cast<uint16_t>(decoded.channels)};
      clip.samples = decoded.samples;
    }
    ASSERT_FALSE(clip.samples.empty());
    EXPECT_EQ(clip.format.channels, shape.channels);
    EXPECT_EQ(clip.format.rate, shape.rate);
    const double seconds = double(clip.samples.size()) / shape.channels / shape.rate;
    EXPECT_NEAR(seconds, sound.seconds, 1e-3);
    EXPECT_GE(seconds, shape.minSeconds);
    EXPECT_LE(seconds, shape.maxSeconds);
    int loudest = 0;
    for (int16_t s : clip.samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
    EXPECT_GT(loudest, 8000) << "audible";
    EXPECT_LT(loudest, 32767) << "not clipped";
    if (sound.path.starts_with("bgm")) {
      EXPECT_LT(std::abs(clip.samples.front()), 300);
      EXPECT_LT(std::abs(clip.samples.back()), 300);
    }
  }
  EXPECT_LT(total, 2u * 1024 * 1024);
}

TEST(VorbisEncoding, FixedSerialNumberAndRefusedShapes) {
  VorbisInput input;
  input.samples.assign(22050, 0.0f);
  input.rate = 22050;
  input.serialNumber = 0x51560001;
  const VorbisOutcome outcome = EncodeVorbis(input);
  ASSERT_TRUE(outcome.succeeded);
  // Every Ogg page carries the stream's serial at bytes 14..17.
  ASSERT_GT(outcome.bytes.size(), 28u);
  EXPECT_EQ(std::string(outcome.bytes.begin(), outcome.bytes.begin() + 4), "OggS");
  EXPECT_EQ(std::vector<uint8_t>(outcome.bytes.begin() + 14, outcome.bytes.begin() + 18),
            (std::vector<uint8_t>{0x01, 0x00, 0x56, 0x51}));
  EXPECT_EQ(test::DecodeOgg({outcome.bytes.begin(), outcome.bytes.end()}).samples.size(), 22050u);
  input.channels = 2;
  input.samples.push_back(0.0f);  // half a frame left over
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
  input.channels = 3;
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
}

}  // namespace
}  // namespace qv::tool
