// The BMP Suite against the picture checks: each file loads exactly or is refused, never misread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "core/Bytes.h"
#include "graphics/PictureFile.h"

namespace qv::graphics {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(QV_SHARED_DIR) / "testdata" / "bmpsuite";

// A file's bytes in a heap block of exactly their size, so that a read past the end trips the
// address sanitizer instead of landing in a vector's spare capacity.
class ExactBytes {
 public:
  explicit ExactBytes(std::span<const uint8_t> bytes)
      : size_(bytes.size()), data_(new uint8_t[std::max<size_t>(bytes.size(), 1)]) {
    if (size_ > 0) std::memcpy(data_.get(), bytes.data(), size_);
  }
  std::span<const uint8_t> Span() const { return {data_.get(), size_}; }

 private:
  size_t size_;
  std::unique_ptr<uint8_t[]> data_;
};

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint64_t Fnv1a(std::span<const uint8_t> bytes, uint64_t hash = 0xcbf29ce484222325ull) {
  for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

std::vector<uint8_t> RedOfEachPixel(const MaskPicture& mask) {
  std::vector<uint8_t> reds;
  for (uint8_t index : mask.indices) reds.push_back(mask.red[index]);
  return reds;
}

TEST(BmpSuite, EveryFileLoadsExactlyOrIsRefusedForEveryUse) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  std::set<std::string> pictures, masks;
  int files = 0;
  for (const char* folder : {"g", "q", "b"}) {
    for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
      const std::string name = std::string(folder) + "/" + entry.path().filename().string();
      const ExactBytes exact(ReadFile(entry.path()));
      ++files;
      for (int kind = 0; kind <= static_cast<int>(PictureKind::Plain); ++kind) {
        std::string why;
        const auto picture = DecodePicture(exact.Span(), PictureKind(kind), 127, 64, why);
        EXPECT_EQ(picture.has_value(), why.empty()) << name << ": " << why;
        if (picture && PictureKind(kind) == PictureKind::Plain) pictures.insert(name);
      }
      std::string why;
      if (DecodeMask(exact.Span(), why)) masks.insert(name);
    }
  }
  EXPECT_GE(files, 55);
  // Uncompressed, bottom-up, whatever their header and colour table; the profiles follow the rows.
  EXPECT_EQ(pictures, (std::set<std::string>{"g/rgb24.bmp", "g/rgb24pal.bmp", "q/rgb24largepal.bmp",
                                             "q/rgb24lprof.bmp", "q/rgb24prof.bmp"}));
  EXPECT_EQ(masks, (std::set<std::string>{"g/pal8-0.bmp", "g/pal8.bmp", "g/pal8nonsquare.bmp",
                                          "g/pal8v4.bmp", "g/pal8v5.bmp", "g/pal8w124.bmp",
                                          "g/pal8w125.bmp", "g/pal8w126.bmp", "q/pal8offs.bmp",
                                          "q/pal8oversizepal.bmp", "b/pal8badindex.bmp"}));
}

// Reference values from an independent reader of the files.
TEST(BmpSuite, LoadedFilesGiveTheirPixelsWhereverTheRowsStart) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  for (const char* name : {"g/rgb24.bmp", "g/rgb24pal.bmp", "q/rgb24largepal.bmp",
                           "q/rgb24prof.bmp", "q/rgb24lprof.bmp"}) {
    std::string why;
    const auto picture =
        DecodePicture(ReadFile(kSuite / name), PictureKind::Background, 127, 64, why);
    ASSERT_TRUE(picture) << name << ": " << why;
    const core::Surface& p = picture->pixels;
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int r = 0; r < 64; ++r) hash = Fnv1a({p.StoredRow(r), 127 * 3}, hash);
    EXPECT_EQ(hash, 0x7e411d45a17d6037ull) << name;
    EXPECT_EQ(std::vector<uint8_t>(p.Row(0), p.Row(0) + 3), (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ(std::vector<uint8_t>(p.Row(63) + 126 * 3, p.Row(63) + 127 * 3),
              (std::vector<uint8_t>{126, 96, 96}));
  }
  std::string why;
  for (const char* name : {"g/pal8.bmp", "g/pal8-0.bmp", "g/pal8v4.bmp", "g/pal8v5.bmp",
                           "q/pal8offs.bmp", "q/pal8oversizepal.bmp"}) {
    const auto mask = DecodeMask(ReadFile(kSuite / name), why);
    ASSERT_TRUE(mask) << name << ": " << why;
    EXPECT_EQ(Fnv1a(RedOfEachPixel(*mask)), 0x5724d975bebce1c1ull) << name;
  }
  // Rows padded by 3, 2 and 1 bytes.
  for (const auto& [name, hash] : {std::pair{"g/pal8w125.bmp", 0x2615ac15bcf3e600ull},
                                   {"g/pal8w126.bmp", 0x879f3314f83e8988ull},
                                   {"g/pal8w124.bmp", 0x216a5a64f884f008ull}}) {
    const auto mask = DecodeMask(ReadFile(kSuite / name), why);
    ASSERT_TRUE(mask) << name << ": " << why;
    EXPECT_EQ(Fnv1a(RedOfEachPixel(*mask)), hash) << name;
  }
  const auto badIndex = DecodeMask(ReadFile(kSuite / "b/pal8badindex.bmp"), why);
  ASSERT_TRUE(badIndex) << why;  // 101 entries, indices up to 252: those read as red 0
  EXPECT_EQ(*std::max_element(badIndex->indices.begin(), badIndex->indices.end()), 252);
  EXPECT_EQ(badIndex->red[101], 0);
  EXPECT_EQ(Fnv1a(RedOfEachPixel(*badIndex)), 0x49b2a51e220ecb8eull);
}

TEST(BmpSuite, TruncatedFilesAreRefusedUntilTheirRowsAreWhole) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  for (const char* name : {"g/rgb24.bmp", "q/rgb24prof.bmp", "g/pal8v5.bmp"}) {
    const std::vector<uint8_t> bytes = ReadFile(kSuite / name);
    const bool isMask = std::string(name).find("pal8") != std::string::npos;
    const size_t rowsEnd =
        static_cast<size_t>(core::LoadI32(&bytes[10])) + (isMask ? 128 : 384) * 64;
    std::set<size_t> lengths = {rowsEnd - 1, rowsEnd, bytes.size()};
    for (size_t n = 0; n < bytes.size(); n += n < 1200 ? 1 : 97) lengths.insert(n);
    for (size_t length : lengths) {
      const ExactBytes exact(std::span<const uint8_t>(bytes).first(length));
      std::string why;
      const bool loaded =
          isMask ? DecodeMask(exact.Span(), why).has_value()
                 : DecodePicture(exact.Span(), PictureKind::Plain, 0, 0, why).has_value();
      EXPECT_EQ(loaded, length >= rowsEnd) << name << " cut to " << length;
    }
  }
}

// Every header byte of a good file set to awkward values: each variant loads or is refused, and
// nothing is read outside the file (the address sanitizer watches).
TEST(BmpSuite, DamagedHeaderBytesNeverReadOutsideTheFile) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  for (const char* name : {"g/rgb24.bmp", "g/pal8.bmp", "g/pal8v5.bmp"}) {
    const std::vector<uint8_t> original = ReadFile(kSuite / name);
    for (size_t at = 0; at < 70; ++at) {
      for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
        std::vector<uint8_t> bytes = original;
        bytes[at] = value;
        const ExactBytes exact(bytes);
        std::string why;
        if (const auto picture = DecodePicture(exact.Span(), PictureKind::Plain, 0, 0, why)) {
          EXPECT_LE(picture->pixels.SizeBytes(), bytes.size()) << name << " @" << at;
        }
        if (const auto mask = DecodeMask(exact.Span(), why)) {
          EXPECT_LE(mask->indices.size(), bytes.size()) << name << " @" << at;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qv::graphics
