// The BMP Suite against the picture checks: each file loads exactly or is refused, never misread.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "graphics/PictureFile.h"
#include "support/Fnv1a.h"

namespace qv::graphics {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(QV_SOURCE_DIR) / "tests" / "data" / "bmpsuite";

// A file's bytes in a block of exactly their size, so that a read past the end trips the address
// sanitizer instead of landing in spare capacity. (Cut and damaged files are the fuzz corpus's.)
std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  bytes.shrink_to_fit();
  return bytes;
}

using test::Fnv1a;

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
      const std::vector<uint8_t> bytes = ReadFile(entry.path());
      ++files;
      for (int kind = 0; kind <= static_cast<int>(PictureKind::Plain); ++kind) {
        std::string why;
        const auto picture = DecodePicture(bytes, PictureKind(kind), 127, 64, why);
        EXPECT_EQ(picture.has_value(), why.empty()) << why;
        if (!picture || PictureKind(kind) != PictureKind::Background) continue;
        pictures.insert(name);
        const core::Surface& p = picture->pixels;
        uint64_t hash = 0xcbf29ce484222325ull;
        for (int r = 0; r < 64; ++r) hash = Fnv1a({p.StoredRow(r), 127 * 3}, hash);
        EXPECT_EQ(hash, kPicture);
      }
      std::string why;
      if (const auto mask = DecodeMask(bytes, why)) {
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

}  // namespace
}  // namespace qv::graphics
