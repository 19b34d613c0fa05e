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

const fs::path kSuite = fs::path(QV_SOURCE_DIR) / "tests" / "data" / "bmpsuite";

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

// Reference values from an independent reader of the files. Uncompressed, bottom-up pictures load
// whatever their header and colour table; the profiles follow the rows. Masks give the red of
// each pixel's entry, 0 for one beyond the table (0 below: not compared).
constexpr uint64_t kPicture = 0x7e411d45a17d6037ull, kGreyMask = 0x5724d975bebce1c1ull;
const std::set<std::string> kPictures = {"g/rgb24.bmp", "g/rgb24pal.bmp", "q/rgb24largepal.bmp",
                                         "q/rgb24lprof.bmp", "q/rgb24prof.bmp"};
const std::map<std::string, uint64_t> kMasks = {
    {"g/pal8-0.bmp", kGreyMask},
    {"g/pal8.bmp", kGreyMask},
    {"g/pal8v4.bmp", kGreyMask},
    {"g/pal8v5.bmp", kGreyMask},
    {"q/pal8offs.bmp", kGreyMask},
    {"q/pal8oversizepal.bmp", kGreyMask},
    {"g/pal8nonsquare.bmp", 0},
    {"g/pal8w125.bmp", 0x2615ac15bcf3e600ull},  // rows
    {"g/pal8w126.bmp", 0x879f3314f83e8988ull},
    {"g/pal8w124.bmp", 0x216a5a64f884f008ull},       // padded
    {"b/pal8badindex.bmp", 0x49b2a51e220ecb8eull}};  // 101 entries, indices up to 252

TEST(BmpSuite, EveryFileLoadsExactlyOrIsRefusedForEveryUse) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  std::set<std::string> pictures, masks;
  int files = 0;
  for (const char* folder : {"g", "q", "b"}) {
    for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
      const std::string name = std::string(folder) + "/" + entry.path().filename().string();
      SCOPED_TRACE(name);
      const ExactBytes exact(ReadFile(entry.path()));
      ++files;
      for (int kind = 0; kind <= static_cast<int>(PictureKind::Plain); ++kind) {
        std::string why;
        const auto picture = DecodePicture(exact.Span(), PictureKind(kind), 127, 64, why);
        EXPECT_EQ(picture.has_value(), why.empty()) << why;
        if (!picture || PictureKind(kind) != PictureKind::Background) continue;
        pictures.insert(name);
        const core::Surface& p = picture->pixels;
        uint64_t hash = 0xcbf29ce484222325ull;
        for (int r = 0; r < 64; ++r) hash = Fnv1a({p.StoredRow(r), 127 * 3}, hash);
        EXPECT_EQ(hash, kPicture);
        EXPECT_EQ(std::vector<uint8_t>(p.Row(0), p.Row(0) + 3), (std::vector<uint8_t>{0, 0, 255}));
        EXPECT_EQ(std::vector<uint8_t>(p.Row(63) + 126 * 3, p.Row(63) + 127 * 3),
                  (std::vector<uint8_t>{126, 96, 96}));
      }
      std::string why;
      if (const auto mask = DecodeMask(exact.Span(), why)) {
        masks.insert(name);
        std::vector<uint8_t> reds;
        for (uint8_t index : mask->indices) reds.push_back(mask->red[index]);
        const auto hash = kMasks.find(name);
        EXPECT_TRUE(hash == kMasks.end() || hash->second == 0 || Fnv1a(reds) == hash->second);
      }
    }
  }
  EXPECT_GE(files, 55);
  EXPECT_EQ(pictures, kPictures);
  std::set<std::string> expectedMasks;
  for (const auto& [name, hash] : kMasks) expectedMasks.insert(name);
  EXPECT_EQ(masks, expectedMasks);
}

// Cut short anywhere, or with any header byte set to an awkward value, a good file loads or is
// refused, and nothing is read outside it (the address sanitizer watches).
TEST(BmpSuite, CutOrDamagedFilesAreRefusedUntilTheirRowsAreWholeAndNeverReadOutside) {
  ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite << " is missing";
  // Whether `bytes` load as the kind of file they are; whatever loads stays within them.
  auto loads = [](const std::vector<uint8_t>& bytes, bool isMask) {
    const ExactBytes exact(bytes);
    std::string why;
    const auto picture = DecodePicture(exact.Span(), PictureKind::Plain, 0, 0, why);
    const auto mask = DecodeMask(exact.Span(), why);
    EXPECT_LE(picture ? picture->pixels.SizeBytes() : 0, bytes.size());
    EXPECT_LE(mask ? mask->indices.size() : 0, bytes.size());
    return isMask ? mask.has_value() : picture.has_value();
  };
  for (const char* name : {"g/rgb24.bmp", "q/rgb24prof.bmp", "g/pal8.bmp", "g/pal8v5.bmp"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = ReadFile(kSuite / name);
    const bool isMask = std::string(name).find("pal8") != std::string::npos;
    const size_t rowsEnd =
        static_cast<size_t>(core::LoadI32(&bytes[10])) + (isMask ? 128 : 384) * 64;
    std::set<size_t> lengths = {rowsEnd - 1, rowsEnd, bytes.size()};
    for (size_t n = 0; n < bytes.size(); n += n < 1200 ? 1 : 97) lengths.insert(n);
    for (size_t length : lengths) {
      const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
      EXPECT_EQ(loads(cut, isMask), length >= rowsEnd) << "cut to " << length;
    }
    for (size_t at = 0; at < 70; ++at) {
      for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
        std::vector<uint8_t> damaged = bytes;
        damaged[at] = value;
        loads(damaged, isMask);
      }
    }
  }
}

}  // namespace
}  // namespace qv::graphics
