// The bundled sample: its built-in script as in games/sample, its sounds in the shapes the engine
// takes, and a script start the return to the title can land on. That the instance file, the
// script's jumps and items and the pictures and files it names are as the engine reads them is
// qvtool lint's check (tests/cli/QvtoolLint.txt).
#include "qvtool/SampleGame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "audio/WavFile.h"
#include "graphics/PictureFile.h"
#include "platform/common/TableCp932.h"
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

// The return to the title restarts the script at byte 2 after a wait and at byte 0 after a
// choice: neither may land on a line that shows text, such as a comment missing its ';'.
TEST(SampleScript, TheReturnToTheTitleLandsOnNoVisibleLine) {
  EXPECT_TRUE(SampleGameSources().script ==
              test::ReadFile(QV_SOURCE_DIR "/games/sample/script.txt"))
      << "the built-in sample is stale; rebuild";
  platform::TableCp932 cp932;
  const std::string text = ScrambleScript(EncodeScript(SampleGameSources().script, cp932).bytes);
  for (size_t start : {0u, 2u}) {
    const std::string_view line =
        std::string_view(text).substr(start, text.find("\r\n", start) - start);
    EXPECT_TRUE(line.empty() || line[0] == ';' || line[0] == ':') << start << ": " << line;
  }
}

// The sample plays the shaded band, which lint checks with the rest of its pictures; the framed
// look is a whole-frame overlay.
TEST(SamplePictures, TheFramedMessageWindowCoversTheFrame) {
  for (const SamplePicture& picture : SamplePictures(800, 600, 1)) {
    if (picture.path != "cg\\menu\\bar_a.bmp") continue;
    std::string why;
    const auto decoded =
        graphics::DecodePicture(picture.bytes, PictureKind::MessageWindow, 800, 600, why);
    ASSERT_TRUE(decoded) << why;
    EXPECT_EQ(decoded->Height(), 600);
  }
}

// Every sound as the engine reads it: effects and voices mono at 22050 Hz, music stereo at 44100
// Hz, as long as declared, and audible. The music must also loop without a click of its own.
TEST(SampleSounds, EveryFileIsPlayableInItsShape) {
  const SampleSoundsOutcome made = SampleSounds();
  ASSERT_TRUE(made.succeeded) << made.error;
  EXPECT_EQ(made.sounds.size(), 9u);
  size_t total = 0;
  for (const SampleSound& sound : made.sounds) {
    SCOPED_TRACE(sound.path);
    const bool music = sound.path.starts_with("bgm");
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
    EXPECT_EQ(clip.format.channels, music ? 2 : 1);
    EXPECT_EQ(clip.format.rate, music ? 44100u : 22050u);
    const double seconds = double(clip.samples.size()) / clip.format.channels / clip.format.rate;
    EXPECT_NEAR(seconds, sound.seconds, 1e-3);
    EXPECT_TRUE(seconds > 0.03 && seconds < (music ? 30 : 3)) << seconds;
    int loudest = 0;
    for (int16_t s : clip.samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
    EXPECT_TRUE(loudest > 8000 && loudest < 32767) << "audible, not clipped: " << loudest;
    EXPECT_TRUE(!music ||
                std::max(std::abs(clip.samples.front()), std::abs(clip.samples.back())) < 300);
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
