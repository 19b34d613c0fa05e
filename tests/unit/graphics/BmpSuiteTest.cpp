// The BMP Suite against the picture checks: each file loads exactly or is refused, never misread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "core/Bytes.h"
#include "graphics/PictureFile.h"

namespace qv::graphics {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(QV_SHARED_DIR) / "testdata" / "bmpsuite";

// A file's bytes in a heap block of exactly their size, so a read past the end trips the
// address sanitizer instead of landing in a vector's spare capacity.
class ExactBytes {
 public:
  explicit ExactBytes(std::span<const uint8_t> bytes)
      : size_(bytes.size()), data_(new uint8_t[std::max<size_t>(bytes.size(), 1)]) {
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
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

std::map<std::string, std::vector<uint8_t>> SuiteFiles() {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const char* folder : {"g", "q", "b"}) {
    for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
      files[std::string(folder) + "/" + entry.path().filename().string()] = ReadFile(entry.path());
    }
  }
  return files;
}

uint64_t Fnv1a(std::span<const uint8_t> bytes, uint64_t hash = 0xcbf29ce484222325ull) {
  for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

// The pixel rows without their padding, bottom row first.
uint64_t PixelHash(const core::Surface& surface) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (int r = 0; r < surface.Height(); ++r) {
    hash = Fnv1a({surface.StoredRow(r), static_cast<size_t>(surface.Width()) * 3}, hash);
  }
  return hash;
}

std::vector<uint8_t> Pixel(const core::Surface& surface, int x, int y) {
  const uint8_t* p = surface.Row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

// Every use's checks, on every file: nothing may crash, and what loads is listed below.
TEST(BmpSuite, EveryFileLoadsExactlyOrIsRefused) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  const auto files = SuiteFiles();
  ASSERT_GE(files.size(), 55u);

  std::set<std::string> pictures, masks;
  for (const auto& [name, bytes] : files) {
    const ExactBytes exact(bytes);
    for (PictureKind kind :
         {PictureKind::Background, PictureKind::Sprite, PictureKind::MessageWindow,
          PictureKind::ButtonParts, PictureKind::WaitCursor, PictureKind::AreaImage,
          PictureKind::ChoiceBar, PictureKind::Plain}) {
      std::string why;
      const auto picture = DecodePicture(exact.Span(), kind, 127, 64, why);
      EXPECT_EQ(picture.has_value(), why.empty()) << name << ": " << why;
      if (picture && kind == PictureKind::Plain) pictures.insert(name);
    }
    std::string why;
    const auto mask = DecodeMask(exact.Span(), why);
    EXPECT_EQ(mask.has_value(), why.empty()) << name << ": " << why;
    if (mask) masks.insert(name);
  }
  // The 24-bit uncompressed bottom-up files, whatever their header and colour table.
  EXPECT_EQ(pictures, (std::set<std::string>{"g/rgb24.bmp", "g/rgb24pal.bmp", "q/rgb24largepal.bmp",
                                             "q/rgb24lprof.bmp", "q/rgb24prof.bmp"}));
  EXPECT_EQ(masks, (std::set<std::string>{"g/pal8-0.bmp", "g/pal8.bmp", "g/pal8nonsquare.bmp",
                                          "g/pal8v4.bmp", "g/pal8v5.bmp", "g/pal8w124.bmp",
                                          "g/pal8w125.bmp", "g/pal8w126.bmp", "q/pal8offs.bmp",
                                          "q/pal8oversizepal.bmp", "b/pal8badindex.bmp"}));
}

// Reference values from an independent reader of the files.
TEST(BmpSuite, The24BitFilesGiveTheSamePixelsWhereverTheirRowsStart) {
  for (const char* name : {"g/rgb24.bmp", "g/rgb24pal.bmp", "q/rgb24largepal.bmp",
                           "q/rgb24prof.bmp", "q/rgb24lprof.bmp"}) {
    const std::vector<uint8_t> bytes = ReadFile(kSuite / name);
    std::string why;
    const auto picture = DecodePicture(bytes, PictureKind::Background, 127, 64, why);
    ASSERT_TRUE(picture) << name << ": " << why;
    const core::Surface& p = picture->pixels;
    EXPECT_EQ(PixelHash(p), 0x7e411d45a17d6037ull) << name;
    EXPECT_EQ(Pixel(p, 0, 0), (std::vector<uint8_t>{0, 0, 255})) << name;  // red, top left
    EXPECT_EQ(Pixel(p, 126, 0), (std::vector<uint8_t>{189, 159, 159})) << name;
    EXPECT_EQ(Pixel(p, 0, 63), (std::vector<uint8_t>{0, 0, 0})) << name;
    EXPECT_EQ(Pixel(p, 126, 63), (std::vector<uint8_t>{126, 96, 96})) << name;
    EXPECT_EQ(Pixel(p, 64, 32), (std::vector<uint8_t>{255, 255, 255})) << name;
  }
}

std::vector<uint8_t> RedOfEachPixel(const MaskPicture& mask) {
  std::vector<uint8_t> reds;
  for (uint8_t index : mask.indices) reds.push_back(mask.red[index]);
  return reds;
}

TEST(BmpSuite, The8BitFilesGiveTheSameMaskWhateverTheirHeaderAndTable) {
  std::string why;
  const auto reference = DecodeMask(ReadFile(kSuite / "g/pal8.bmp"), why);
  ASSERT_TRUE(reference) << why;
  EXPECT_EQ(Fnv1a(reference->indices), 0x30ef3d39a9caaf9full);
  EXPECT_EQ(Fnv1a(RedOfEachPixel(*reference)), 0x5724d975bebce1c1ull);
  for (const char* name : {"g/pal8-0.bmp", "g/pal8v4.bmp", "g/pal8v5.bmp", "q/pal8offs.bmp",
                           "q/pal8oversizepal.bmp"}) {
    const auto mask = DecodeMask(ReadFile(kSuite / name), why);
    ASSERT_TRUE(mask) << name << ": " << why;
    EXPECT_EQ(mask->width, 127);
    EXPECT_EQ(mask->height, 64);
    EXPECT_EQ(RedOfEachPixel(*mask), RedOfEachPixel(*reference)) << name;
  }
  // Widths whose rows need 3, 2, 1 and 0 padding bytes.
  const std::map<std::string, uint64_t> padded = {{"g/pal8w124.bmp", 0x216a5a64f884f008ull},
                                                  {"g/pal8w125.bmp", 0x2615ac15bcf3e600ull},
                                                  {"g/pal8w126.bmp", 0x879f3314f83e8988ull}};
  for (const auto& [name, hash] : padded) {
    const auto mask = DecodeMask(ReadFile(kSuite / name), why);
    ASSERT_TRUE(mask) << name << ": " << why;
    EXPECT_EQ(Fnv1a(RedOfEachPixel(*mask)), hash) << name;
  }
}

TEST(BmpSuite, IndicesBeyondTheColourTableReadAsRedZero) {
  std::string why;
  const auto mask = DecodeMask(ReadFile(kSuite / "b/pal8badindex.bmp"), why);
  ASSERT_TRUE(mask) << why;  // 101 entries, indices up to 252
  EXPECT_GT(*std::max_element(mask->indices.begin(), mask->indices.end()), 100);
  for (size_t i = 101; i < 256; ++i) EXPECT_EQ(mask->red[i], 0) << i;
  EXPECT_EQ(Fnv1a(RedOfEachPixel(*mask)), 0x49b2a51e220ecb8eull);
}

// Cut short anywhere before the end of its rows, a good file is refused: headers, tables and rows
// are all checked. (A colour profile stored after the rows is not needed.)
TEST(BmpSuite, TruncatedFilesAreRefusedUntilTheirRowsAreWhole) {
  for (const char* name : {"g/rgb24.bmp", "q/rgb24prof.bmp", "g/pal8v5.bmp"}) {
    const std::vector<uint8_t> bytes = ReadFile(kSuite / name);
    const bool isMask = std::string(name).find("pal8") != std::string::npos;
    const size_t rowBytes = isMask ? 128 : 384;  // 127 pixels of 1 or 3 bytes, padded
    const size_t rowsEnd = static_cast<size_t>(core::LoadI32(&bytes[10])) + rowBytes * 64;
    ASSERT_LE(rowsEnd, bytes.size());
    // Every length through the headers and tables, a spread over the rows, and their last bytes.
    std::set<size_t> lengths = {rowsEnd - 2, rowsEnd - 1, rowsEnd, bytes.size()};
    for (size_t length = 0; length < bytes.size(); length += length < 1200 ? 1 : 97) {
      lengths.insert(length);
    }
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

// Every header byte of a good file set to awkward values: each variant loads or is refused.
TEST(BmpSuite, DamagedHeaderBytesNeverMisread) {
  for (const char* name : {"g/rgb24.bmp", "g/pal8.bmp", "g/pal8v5.bmp"}) {
    const std::vector<uint8_t> original = ReadFile(kSuite / name);
    for (size_t at = 0; at < 70; ++at) {
      for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
        std::vector<uint8_t> bytes = original;
        bytes[at] = value;
        const ExactBytes exact(bytes);
        std::string why;
        const auto picture = DecodePicture(exact.Span(), PictureKind::Plain, 0, 0, why);
        if (picture) {
          EXPECT_LE(picture->pixels.SizeBytes(), bytes.size()) << name << " @" << at;
        }
        const auto mask = DecodeMask(exact.Span(), why);
        if (mask) {
          EXPECT_LE(mask->indices.size(), bytes.size()) << name << " @" << at;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qv::graphics
