// The sample's sounds: valid WAV and Ogg Vorbis files of the intended shapes, the same every run.
#include "qvtool/SampleSounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "qvtool/VorbisEncoding.h"
#include "qvtool/WaveFile.h"
#include "support/OggCodec.h"

namespace qv::tool {
namespace {

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b.at(at + i);
  return value;
}

using Decoded = test::DecodedOgg;

Decoded DecodeOgg(const std::vector<uint8_t>& bytes) {
  return test::DecodeOgg(std::string(bytes.begin(), bytes.end()));
}

// The largest sample within `frames` frames of the start or of the end.
int Loudest(const Decoded& d, size_t frames, bool atEnd) {
  int loudest = 0;
  const size_t count = std::min(d.samples.size(), frames * d.channels);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = atEnd ? d.samples.size() - 1 - i : i;
    loudest = std::max(loudest, std::abs(static_cast<int>(d.samples[at])));
  }
  return loudest;
}

class SampleSoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { made_ = new SampleSoundsOutcome(SampleSounds()); }
  static void TearDownTestSuite() { delete made_; }

  const SampleSound& Sound(const std::string& path) {
    for (const SampleSound& s : made_->sounds) {
      if (s.path == path) return s;
    }
    ADD_FAILURE() << "no " << path;
    static const SampleSound none;
    return none;
  }

  static SampleSoundsOutcome* made_;
};

SampleSoundsOutcome* SampleSoundsTest::made_ = nullptr;

TEST_F(SampleSoundsTest, EveryFileIsThereAndTheWholeIsSmall) {
  ASSERT_TRUE(made_->succeeded) << made_->error;
  std::vector<std::string> paths;
  size_t total = 0;
  for (const SampleSound& s : made_->sounds) {
    paths.push_back(s.path);
    total += s.bytes.size();
  }
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "sound\\logo.wav", "sound\\move.wav", "sound\\click.wav", "bgm\\theme.ogg",
                       "bgm\\evening.ogg", "voice\\hina01.ogg", "voice\\hina02.ogg",
                       "voice\\aoi01.ogg", "voice\\aoi02.ogg"}));
  EXPECT_LT(total, 2u * 1024 * 1024);
}

TEST_F(SampleSoundsTest, EffectsAreShortPcmWaves) {
  for (const char* path : {"sound\\logo.wav", "sound\\move.wav", "sound\\click.wav"}) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t>& b = Sound(path).bytes;
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le(b, 16, 4), 16u);
    EXPECT_EQ(Le(b, 20, 2), 1u);  // PCM
    const uint32_t channels = Le(b, 22, 2), rate = Le(b, 24, 4);
    EXPECT_EQ(channels, 1u);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(Le(b, 28, 4), rate * channels * 2);
    EXPECT_EQ(Le(b, 32, 2), channels * 2);
    EXPECT_EQ(Le(b, 34, 2), 16u);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t data = Le(b, 40, 4);
    EXPECT_EQ(data, b.size() - 44);
    const double seconds = data / 2.0 / rate;
    EXPECT_NEAR(seconds, Sound(path).seconds, 1e-3);
    EXPECT_GT(seconds, 0.03);
    EXPECT_LT(seconds, 2.5);
    // Audible, not clipped, and starting and ending at silence (no click of its own).
    int loudest = 0;
    for (size_t i = 44; i < b.size(); i += 2) {
      loudest = std::max(loudest, std::abs(static_cast<int16_t>(Le(b, i, 2))));
    }
    EXPECT_GT(loudest, 8000);
    EXPECT_LT(loudest, 32000);
    EXPECT_LT(std::abs(static_cast<int16_t>(Le(b, 44, 2))), 200);
    EXPECT_LT(std::abs(static_cast<int16_t>(Le(b, b.size() - 2, 2))), 200);
  }
}

TEST_F(SampleSoundsTest, OggFilesDecodeToTheirShapes) {
  struct Shape {
    int channels;
    long rate;
    double minSeconds, maxSeconds;
  };
  const std::map<std::string, Shape> shapes = {
      {"bgm\\theme.ogg", {2, 44100, 20, 30}},  {"bgm\\evening.ogg", {2, 44100, 8, 16}},
      {"voice\\hina01.ogg", {1, 22050, 1, 3}}, {"voice\\hina02.ogg", {1, 22050, 1, 3}},
      {"voice\\aoi01.ogg", {1, 22050, 1, 3}},  {"voice\\aoi02.ogg", {1, 22050, 1, 3}}};
  std::vector<std::vector<int16_t>> voices;
  for (const auto& [path, shape] : shapes) {
    SCOPED_TRACE(path);
    const Decoded d = DecodeOgg(Sound(path).bytes);
    ASSERT_FALSE(d.samples.empty());
    EXPECT_EQ(d.channels, shape.channels);
    EXPECT_EQ(d.rate, shape.rate);
    const double seconds = static_cast<double>(d.samples.size()) / d.channels / d.rate;
    EXPECT_NEAR(seconds, Sound(path).seconds, 0.001);
    EXPECT_GE(seconds, shape.minSeconds);
    EXPECT_LE(seconds, shape.maxSeconds);
    EXPECT_GT(Loudest(d, d.samples.size(), false), 10000) << "audible";
    if (path.starts_with("voice")) voices.push_back(d.samples);
  }
  // Four different lines, not one clip four times.
  for (size_t a = 0; a < voices.size(); ++a) {
    for (size_t b = a + 1; b < voices.size(); ++b) EXPECT_NE(voices[a], voices[b]);
  }
}

TEST_F(SampleSoundsTest, MusicLoopsWithoutAClick) {
  for (const char* path : {"bgm\\theme.ogg", "bgm\\evening.ogg"}) {
    SCOPED_TRACE(path);
    const Decoded d = DecodeOgg(Sound(path).bytes);
    ASSERT_FALSE(d.samples.empty());
    // Both ends sit at silence (within the codec's own noise), so the jump from the last sample
    // back to the first is inaudible.
    EXPECT_LT(Loudest(d, 1, false), 300);
    EXPECT_LT(Loudest(d, 1, true), 300);
    EXPECT_LT(Loudest(d, 32, true), 600);
  }
}

TEST_F(SampleSoundsTest, SameBytesEveryRun) {
  const SampleSoundsOutcome again = SampleSounds();
  ASSERT_EQ(again.sounds.size(), made_->sounds.size());
  for (size_t i = 0; i < again.sounds.size(); ++i) {
    EXPECT_TRUE(again.sounds[i].bytes == made_->sounds[i].bytes) << again.sounds[i].path;
  }
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
  EXPECT_EQ(Le(outcome.bytes, 14, 4), 0x51560001u);
  EXPECT_EQ(DecodeOgg(outcome.bytes).samples.size(), 22050u);

  input.channels = 2;
  input.samples.push_back(0.0f);  // half a frame left over
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
  input.channels = 3;
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
}

}  // namespace
}  // namespace qv::tool
