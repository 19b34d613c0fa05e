// Bitmap checks and decoding: what a picture file must be for each use, and the writers' round
// trips.
#include "graphics/PictureFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>

#include "core/Bytes.h"

namespace qv::graphics {
namespace {

// A picture whose every byte differs from its neighbours, so a shifted row or column shows.
core::Surface Pattern(int width, int height) {
  core::Surface s(width, height);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width * 3; ++c)
      s.StoredRow(r)[c] = static_cast<uint8_t>(r * 31 + c * 7 + 1);
  }
  return s;
}

bool SamePixels(const core::Surface& a, const core::Surface& b) {
  bool same = a.Width() == b.Width() && a.Height() == b.Height();
  for (int r = 0; same && r < a.Height(); ++r)
    same = std::memcmp(a.StoredRow(r), b.StoredRow(r), static_cast<size_t>(a.Width()) * 3) == 0;
  return same;
}

void SetU32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
  core::StoreI32(&file[at], static_cast<int32_t>(v));
}

// `plain` (54-byte header) with a larger information header.
std::vector<uint8_t> WithHeaderSize(std::vector<uint8_t> file, uint32_t headerSize) {
  file.insert(file.begin() + 54, headerSize - 40, 0);
  SetU32(file, 10, 14 + headerSize);
  SetU32(file, 14, headerSize);
  return file;
}

// Why the file is refused for `kind` ("" when it is taken).
std::string Refusal(const std::vector<uint8_t>& file, PictureKind kind = PictureKind::Plain,
                    int frameWidth = 0, int frameHeight = 0) {
  std::string why;
  const auto picture = DecodePicture(file, kind, frameWidth, frameHeight, why);
  EXPECT_EQ(picture.has_value(), why.empty()) << why;
  return why;
}

// Larger headers, colour tables and gaps before the rows are the BMP Suite's.
TEST(DecodePicture, EncodedPicturesRoundTripWhateverTheirRowPadding) {
  std::string why;
  for (int width : {1, 2, 3, 4, 5, 7, 127}) {
    for (int height : {1, 3}) {
      const core::Surface original = Pattern(width, height);
      const std::vector<uint8_t> file = EncodeBitmap(original);
      ASSERT_EQ(file.size(), 54 + (static_cast<size_t>(width) * 3 + 3) / 4 * 4 * height);
      const auto decoded = DecodePicture(file, PictureKind::Plain, 0, 0, why);
      ASSERT_TRUE(decoded) << why;
      EXPECT_TRUE(SamePixels(decoded->pixels, original)) << width << " x " << height;
    }
  }
  // A reason from an earlier failure does not survive a success.
  EXPECT_FALSE(DecodePicture(std::vector<uint8_t>(10), PictureKind::Plain, 0, 0, why));
  EXPECT_TRUE(DecodePicture(EncodeBitmap(Pattern(9, 4)), PictureKind::Plain, 0, 0, why));
  EXPECT_EQ(why, "");
}

using Change = std::function<void(std::vector<uint8_t>&)>;
Change U32(size_t at, uint32_t v) {
  return [=](auto& f) { SetU32(f, at, v); };
}

TEST(DecodePicture, RefusesWhatIsNotAnUncompressedBottomUp24BitBitmapInsideItsFile) {
  const std::vector<uint8_t> good = EncodeBitmap(Pattern(5, 3));  // rows of 16 bytes
  const std::pair<Change, std::string> cases[] = {
      {[](auto& f) { f.resize(17); }, "too short for a bitmap header"},
      {[](auto& f) { f[1] = 'A'; }, "no BM signature"},
      {U32(14, 12), "unsupported information header of 12 bytes"},  // OS/2
      {U32(14, 0xFFFFFFFF), "unsupported information header of 4294967295 bytes"},
      {[](auto& f) { f = WithHeaderSize(f, 124), f.resize(100); }, "information header cut short"},
      {[](auto& f) { core::StoreI16(&f[26], 2); }, "2 planes (1 expected)"},
      {[](auto& f) { core::StoreI16(&f[28], 32); }, "32 bits per pixel (24 expected)"},
      {U32(30, 1), "compressed pixels (compression 1)"},  // RLE
      {U32(22, static_cast<uint32_t>(-3)), "rows stored top-down (negative height)"},
      {U32(22, 0), "empty picture (5 x 0)"},
      {U32(18, static_cast<uint32_t>(-5)), "empty picture (-5 x 3)"},
      // A product that overflows 32 bits and nearly 64: refused before anything is allocated.
      {[](auto& f) { SetU32(f, 18, 0x7FFFFFFF), SetU32(f, 22, 0x7FFFFFFF); },
       "implausible size 2147483647 x 2147483647"},
      {U32(22, kMaxPictureSide + 1), "implausible size 5 x 16385"},
      {[](auto& f) { SetU32(f, 18, kMaxPictureSide), SetU32(f, 22, kMaxPictureSide); },
       "pixel rows run past the end of the file (805306368 bytes needed from offset 54, 48 there)"},
      {[](auto& f) { f.pop_back(); },  // even the last row's padding must be there
       "pixel rows run past the end of the file (48 bytes needed from offset 54, 47 there)"},
      {U32(10, 0xFFFFFFFF),
       "pixel rows run past the end of the file (48 bytes needed from offset 4294967295, 0 there)"},
      {U32(10, 53), "pixel data offset 53 inside the header"},
      {[](auto& f) { f = WithHeaderSize(f, 124), SetU32(f, 10, 100); },
       "pixel data offset 100 inside the header"},
  };
  EXPECT_EQ(Refusal(good), "");
  for (const auto& [change, reason] : cases) {
    std::vector<uint8_t> file = good;
    change(file);
    EXPECT_EQ(Refusal(file), reason);
  }
}

TEST(DecodePicture, EachUseAcceptsOnlyTheSizesItCanDraw) {
  const std::tuple<PictureKind, int, int, std::string> cases[] = {
      // in a 12 x 8 frame
      {PictureKind::Background, 12, 8, ""},
      {PictureKind::Background, 12, 9, "12 x 9 instead of the frame's 12 x 8"},
      {PictureKind::AreaImage, 16, 8, "16 x 8 instead of the frame's 12 x 8"},
      {PictureKind::Sprite, 7, 3, ""},  // odd: the blend rounds the colour half down
      {PictureKind::Sprite, 1, 5, "too narrow for a colour half and a mask half"},
      {PictureKind::MessageWindow, 1, 5, "too narrow for a colour half and a mask half"},
      {PictureKind::ChoiceBar, 7, 3, ""},
      {PictureKind::ButtonParts, 1280, 44, ""},
      {PictureKind::ButtonParts, 1280, 43, "1280 x 43 instead of 1280 x 44"},
      {PictureKind::ButtonParts, 640, 44, "640 x 44 instead of 1280 x 44"},
      {PictureKind::WaitCursor, 32, 64, ""},  // two 32 x 32 frames
      {PictureKind::WaitCursor, 32, 63, "fewer than 6144 bytes of pixels"}};
  for (const auto& [kind, width, height, reason] : cases)
    EXPECT_EQ(Refusal(EncodeBitmap(Pattern(width, height)), kind, 12, 8), reason);
}

// Odd widths pad their rows; the colour table's reading is the BMP Suite's.
TEST(DecodeMask, RoundTripsOddWidths) {
  std::string why;
  for (int width : {1, 3, 641}) {
    std::vector<uint8_t> indices(static_cast<size_t>(width) * 2);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 37 + 5);
    const auto mask = DecodeMask(EncodeMask(width, 2, indices), why);
    ASSERT_TRUE(mask) << why;
    EXPECT_EQ(mask->width, width);
    EXPECT_EQ(mask->indices, indices);
    EXPECT_EQ(mask->red[200], 200);  // the grey table
  }
}

TEST(DecodeMask, RefusesOtherDepthsAndTablesOrRowsOutsideTheirPlace) {
  const std::pair<Change, std::string> cases[] = {
      {[](auto& f) { f = EncodeBitmap(Pattern(6, 2)); }, "24 bits per pixel (8 expected)"},
      {U32(46, 257), "colour table of 257 entries runs into the pixel data"},
      {[](auto& f) { f[0] = 'P'; }, "no BM signature"},
      // No count declared: a whole table.
      {[](auto& f) { SetU32(f, 46, 0), SetU32(f, 10, 54 + 4 * 100); },
       "colour table of 256 entries runs into the pixel data"},
      {[](auto& f) { f.pop_back(); },
       "pixel rows run past the end of the file (16 bytes needed from offset 1078, 15 there)"}};
  for (const auto& [change, reason] : cases) {
    std::vector<uint8_t> file = EncodeMask(6, 2, std::vector<uint8_t>(12, 3));
    change(file);
    std::string why;
    EXPECT_FALSE(DecodeMask(file, why));
    EXPECT_EQ(why, reason);
  }
}

}  // namespace
}  // namespace qv::graphics
