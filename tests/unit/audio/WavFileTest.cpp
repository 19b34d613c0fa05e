// Sound-effect WAV parsing: the formats taken, and every refusal.
#include "audio/WavFile.h"

#include <gtest/gtest.h>

#include "support/WavReader.h"

namespace qv::audio {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

std::string Refusal(const std::string& file) {
  std::vector<uint8_t> bytes = Bytes(file);
  platform::PcmClip clip;
  std::string reason;
  if (ParseWav(bytes, clip, reason)) return "accepted";
  return reason;
}

void SetU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}
void SetU16(std::string& s, size_t at, uint16_t v) {
  s[at] = static_cast<char>(v);
  s[at + 1] = static_cast<char>(v >> 8);
}

TEST(WavFile, ReadsEightAndSixteenBitMonoAndStereo) {
  platform::PcmClip clip;
  std::string reason;
  std::vector<uint8_t> eight = Bytes(test::MakeWav(11025, 1, 8, {0, 128, 255}));
  ASSERT_TRUE(ParseWav(eight, clip, reason)) << reason;
  EXPECT_EQ(clip.format.rate, 11025u);
  EXPECT_EQ(clip.format.channels, 1u);
  EXPECT_EQ(clip.samples, (std::vector<int16_t>{-32768, 0, 32512}));

  // A trailing half frame is dropped rather than read past.
  std::vector<uint8_t> sixteen = Bytes(test::MakeWav(48000, 2, 16, {0x01, 0x80, 0xFF, 0x7F, 9}));
  ASSERT_TRUE(ParseWav(sixteen, clip, reason)) << reason;
  EXPECT_EQ(clip.format.channels, 2u);
  EXPECT_EQ(clip.samples, (std::vector<int16_t>{-32767, 32767}));
}

TEST(WavFile, SkipsOtherChunksIncludingOddSizedOnes) {
  std::string file = test::MakeWav(8000, 1, 16, {1, 0, 2, 0});
  // A 3-byte LIST chunk (padded to 4) between fmt and data.
  std::string list = std::string("LIST") + std::string("\x03\0\0\0", 4) + "abc" + '\0';
  file.insert(36, list);
  SetU32(file, 4, static_cast<uint32_t>(file.size() - 8));
  platform::PcmClip clip;
  std::string reason;
  std::vector<uint8_t> bytes = Bytes(file);
  ASSERT_TRUE(ParseWav(bytes, clip, reason)) << reason;
  EXPECT_EQ(clip.samples, (std::vector<int16_t>{1, 2}));
}

TEST(WavFile, RefusesWhatItCannotPlayOrWhoseSizesLie) {
  const std::string good = test::MakeWav(8000, 1, 16, {1, 0, 2, 0});
  EXPECT_EQ(Refusal(""), "not a RIFF/WAVE file");
  EXPECT_EQ(Refusal(good.substr(0, 11)), "not a RIFF/WAVE file");
  EXPECT_EQ(Refusal("RIFX" + good.substr(4)), "not a RIFF/WAVE file");

  std::string riffTooLong = good;
  SetU32(riffTooLong, 4, 1000);
  EXPECT_EQ(Refusal(riffTooLong), "RIFF size beyond the end of the file");
  std::string dataTooLong = good;
  SetU32(dataTooLong, 40, 0xFFFFFFF0u);
  EXPECT_EQ(Refusal(dataTooLong), "chunk size beyond the end of the file");
  std::string shortFmt = good;
  SetU32(shortFmt, 16, 8);
  EXPECT_NE(Refusal(shortFmt), "accepted");

  std::string adpcm = good;
  SetU16(adpcm, 20, 2);
  EXPECT_EQ(Refusal(adpcm), "not PCM (format 2)");
  EXPECT_EQ(Refusal(test::MakeWav(8000, 3, 16, std::vector<uint8_t>(6))), "3 channels");
  EXPECT_EQ(Refusal(test::MakeWav(8000, 1, 24, std::vector<uint8_t>(6))), "24 bits per sample");
  EXPECT_EQ(Refusal(test::MakeWav(0, 1, 16, {})), "sample rate 0");
  std::string badAlign = good;
  SetU16(badAlign, 32, 4);
  EXPECT_EQ(Refusal(badAlign), "block alignment 4");

  std::string noData = good.substr(0, 36);
  SetU32(noData, 4, 28);
  EXPECT_EQ(Refusal(noData), "no data chunk");
  std::string noFmt = "RIFF" + std::string(4, '\0') + "WAVE" + good.substr(36);
  SetU32(noFmt, 4, static_cast<uint32_t>(noFmt.size() - 8));
  EXPECT_EQ(Refusal(noFmt), "no fmt chunk");
}

}  // namespace
}  // namespace qv::audio
