// The sample's sounds: WAV and Ogg Vorbis files the engine takes, of the intended shapes.
#include "qvtool/SampleSounds.h"

#include <gtest/gtest.h>

#include <map>

#include "audio/WavFile.h"
#include "qvtool/VorbisEncoding.h"
#include "support/OggCodec.h"

namespace qv::tool {
namespace {

test::DecodedOgg DecodeOgg(const std::vector<uint8_t>& bytes) {
  return test::DecodeOgg(std::string(bytes.begin(), bytes.end()));
}

int Loudest(const std::vector<int16_t>& samples) {
  int loudest = 0;
  for (int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
  return loudest;
}

// Every file as the engine reads it: channels, rate, a playing time within bounds that matches
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
      const test::DecodedOgg decoded = DecodeOgg(sound.bytes);
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
    EXPECT_GT(Loudest(clip.samples), 8000) << "audible";
    EXPECT_LT(Loudest(clip.samples), 32767) << "not clipped";
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
  EXPECT_EQ(DecodeOgg(outcome.bytes).samples.size(), 22050u);

  input.channels = 2;
  input.samples.push_back(0.0f);  // half a frame left over
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
  input.channels = 3;
  EXPECT_FALSE(EncodeVorbis(input).succeeded);
}

}  // namespace
}  // namespace qv::tool
