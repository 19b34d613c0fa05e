// Sound-effect WAV parsing: the formats taken, and every refusal.
#include "audio/WavFile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/WavReader.h"

namespace qv::audio {
namespace {

// The samples of `file`, or why it was refused.
std::string Parse(const std::string& file, platform::PcmClip& clip) {
  std::vector<uint8_t> bytes(file.begin(), file.end());
  std::string reason;
  return ParseWav(bytes, clip, reason) ? "accepted" : reason;
}

// `file` with `size` little-endian bytes of `value` written at `at`.
std::string Patched(std::string file, size_t at, uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i)
    file[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
  return file;
}

TEST(WavFile, ReadsEightAndSixteenBitMonoAndStereoAndSkipsOtherChunks) {
  std::string listed = test::MakeWav(8000, 1, 16, {1, 0, 2, 0});
  listed.insert(36, std::string("LIST\x03\0\0\0abc\0", 12));  // 3 bytes, padded to 4
  const std::tuple<std::string, unsigned, unsigned, std::vector<int16_t>> cases[] = {
      {test::MakeWav(11025, 1, 8, {0, 128, 255}), 11025, 1, {-32768, 0, 32512}},
      // A trailing half frame is dropped rather than read past.
      {test::MakeWav(48000, 2, 16, {0x01, 0x80, 0xFF, 0x7F, 9}), 48000, 2, {-32767, 32767}},
      {Patched(listed, 4, static_cast<uint32_t>(listed.size() - 8)), 8000, 1, {1, 2}}};
  for (const auto& [file, rate, channels, samples] : cases) {
    platform::PcmClip clip;
    ASSERT_EQ(Parse(file, clip), "accepted");
    EXPECT_EQ(clip.format.rate, rate);
    EXPECT_EQ(clip.format.channels, channels);
    EXPECT_EQ(clip.samples, samples);
  }
}

TEST(WavFile, RefusesWhatItCannotPlayOrWhoseSizesLie) {
  const std::string good = test::MakeWav(8000, 1, 16, {1, 0, 2, 0});
  const std::string noData = Patched(good.substr(0, 36), 4, 28);
  const std::string noFmt = "RIFF" + std::string(4, '\0') + "WAVE" + good.substr(36);
  const std::pair<std::string, std::string> cases[] = {
      {"", "not a RIFF/WAVE file"},
      {good.substr(0, 11), "not a RIFF/WAVE file"},
      {"RIFX" + good.substr(4), "not a RIFF/WAVE file"},
      {Patched(good, 4, 1000), "RIFF size beyond the end of the file"},
      {Patched(good, 40, 0xFFFFFFF0u), "chunk size beyond the end of the file"},
      {Patched(good, 20, 2, 2), "not PCM (format 2)"},
      {test::MakeWav(8000, 3, 16, std::vector<uint8_t>(6)), "3 channels"},
      {test::MakeWav(8000, 1, 24, std::vector<uint8_t>(6)), "24 bits per sample"},
      {test::MakeWav(0, 1, 16, {}), "sample rate 0"},
      {Patched(good, 32, 4, 2), "block alignment 4"},
      {noData, "no data chunk"},
      {Patched(noFmt, 4, static_cast<uint32_t>(noFmt.size() - 8)), "no fmt chunk"},
  };
  platform::PcmClip clip;
  for (const auto& [file, reason] : cases) EXPECT_EQ(Parse(file, clip), reason) << reason;
  EXPECT_NE(Parse(Patched(good, 16, 8), clip), "accepted");  // a fmt chunk too short
}

}  // namespace
}  // namespace qv::audio
