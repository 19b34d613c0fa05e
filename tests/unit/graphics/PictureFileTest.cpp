// Bitmap checks and decoding: what a picture file must be for each use, and the writers' round
// trips.
#include "graphics/PictureFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"

namespace qv::graphics {
namespace {

// A picture whose every byte differs from its neighbours, so a shifted row or column shows.
core::Surface Pattern(int width, int height) {
  core::Surface surface(width, height);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width * 3; ++c) {
      surface.StoredRow(r)[c] = static_cast<uint8_t>(r * 31 + c * 7 + 1);
    }
  }
  return surface;
}

bool SamePixels(const core::Surface& a, const core::Surface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int r = 0; r < a.Height(); ++r) {
    if (std::memcmp(a.StoredRow(r), b.StoredRow(r), static_cast<size_t>(a.Width()) * 3) != 0) {
      return false;
    }
  }
  return true;
}

void SetU32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
  core::StoreI32(&file[at], static_cast<int32_t>(value));
}
void SetU16(std::vector<uint8_t>& file, size_t at, uint16_t value) {
  core::StoreI16(&file[at], static_cast<int16_t>(value));
}

// Rebuilds `plain` (54-byte header) with a larger information header and `gap` bytes between
// the headers and the pixels, as modern tools write them.
std::vector<uint8_t> WithHeaderSize(const std::vector<uint8_t>& plain, uint32_t headerSize,
                                    size_t gap) {
  const size_t pixelOffset = 14 + headerSize + gap;
  std::vector<uint8_t> file(pixelOffset, 0xEE);
  std::copy(plain.begin(), plain.begin() + 54, file.begin());
  std::fill(file.begin() + 54, file.begin() + 14 + headerSize, 0);
  file.insert(file.end(), plain.begin() + 54, plain.end());
  SetU32(file, 2, static_cast<uint32_t>(file.size()));
  SetU32(file, 10, static_cast<uint32_t>(pixelOffset));
  SetU32(file, 14, headerSize);
  return file;
}

std::optional<Picture> Decode(const std::vector<uint8_t>& file,
                              PictureKind kind = PictureKind::Plain, int frameWidth = 0,
                              int frameHeight = 0) {
  std::string why;
  auto picture = DecodePicture(file, kind, frameWidth, frameHeight, why);
  EXPECT_EQ(picture.has_value(), why.empty()) << why;
  return picture;
}

std::string Refusal(const std::vector<uint8_t>& file, PictureKind kind = PictureKind::Plain,
                    int frameWidth = 0, int frameHeight = 0) {
  std::string why;
  EXPECT_FALSE(DecodePicture(file, kind, frameWidth, frameHeight, why).has_value());
  EXPECT_FALSE(why.empty());
  return why;
}

TEST(EncodeBitmap, RoundTripsEveryRowPaddingCase) {
  for (int width : {1, 2, 3, 4, 5, 6, 7, 127}) {
    for (int height : {1, 2, 3}) {
      const core::Surface original = Pattern(width, height);
      const std::vector<uint8_t> file = EncodeBitmap(original);
      const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
      ASSERT_EQ(file.size(), 54 + rowBytes * static_cast<size_t>(height)) << width;
      EXPECT_EQ(core::LoadI32(&file[2]), static_cast<int32_t>(file.size()));
      const auto decoded = Decode(file);
      ASSERT_TRUE(decoded) << width << " x " << height;
      EXPECT_TRUE(SamePixels(decoded->pixels, original)) << width << " x " << height;
    }
  }
}

TEST(EncodeBitmap, WritesTheHeaderOtherToolsExpect) {
  const std::vector<uint8_t> file = EncodeBitmap(Pattern(5, 3));
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(core::LoadI32(&file[10]), 54);
  EXPECT_EQ(core::LoadI32(&file[14]), 40);
  EXPECT_EQ(core::LoadI32(&file[18]), 5);
  EXPECT_EQ(core::LoadI32(&file[22]), 3);  // positive: bottom-up
  EXPECT_EQ(core::LoadI16(&file[26]), 1);
  EXPECT_EQ(core::LoadI16(&file[28]), 24);
  EXPECT_EQ(core::LoadI32(&file[30]), 0);
  EXPECT_EQ(core::LoadI32(&file[34]), 16 * 3);
}

TEST(DecodePicture, ModernHeadersAndAPixelOffsetPastTheHeadersLoad) {
  const core::Surface original = Pattern(9, 4);
  const std::vector<uint8_t> plain = EncodeBitmap(original);
  for (uint32_t headerSize : {40u, 108u, 124u}) {
    for (size_t gap : {size_t{0}, size_t{1024}, size_t{3}}) {
      const auto decoded = Decode(WithHeaderSize(plain, headerSize, gap));
      ASSERT_TRUE(decoded) << headerSize << " + " << gap;
      EXPECT_TRUE(SamePixels(decoded->pixels, original)) << headerSize << " + " << gap;
    }
  }
}

TEST(DecodePicture, RefusesWhatIsNotAnUncompressedBottomUp24BitBitmap) {
  const std::vector<uint8_t> good = EncodeBitmap(Pattern(8, 4));
  ASSERT_TRUE(Decode(good));
  auto changed = [&](auto change) {
    std::vector<uint8_t> file = good;
    change(file);
    return file;
  };
  EXPECT_EQ(Refusal({}), "too short for a bitmap header");
  EXPECT_EQ(Refusal(std::vector<uint8_t>(good.begin(), good.begin() + 17)),
            "too short for a bitmap header");
  EXPECT_EQ(Refusal(changed([](auto& f) { f[1] = 'A'; })), "no BM signature");
  for (uint32_t size : {0u, 12u, 16u, 52u, 56u, 64u, 66u, 125u, 0xFFFFFFFFu}) {
    EXPECT_NE(Refusal(changed([&](auto& f) { SetU32(f, 14, size); })).find("header of"),
              std::string::npos)
        << size;
  }
  // A V5 header announced by a file that ends inside it.
  std::vector<uint8_t> shortV5 = WithHeaderSize(good, 124, 0);
  shortV5.resize(100);
  EXPECT_EQ(Refusal(shortV5), "information header cut short");
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU16(f, 26, 2); })), "2 planes (1 expected)");
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU16(f, 26, 0); })), "0 planes (1 expected)");
  for (uint16_t bits : {1, 4, 8, 16, 32, 0}) {
    EXPECT_EQ(Refusal(changed([&](auto& f) { SetU16(f, 28, bits); })),
              std::to_string(bits) + " bits per pixel (24 expected)");
  }
  for (uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u}) {  // RLE, bit fields, JPEG, PNG
    EXPECT_EQ(Refusal(changed([&](auto& f) { SetU32(f, 30, compression); })),
              "compressed pixels (compression " + std::to_string(compression) + ")");
  }
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU32(f, 22, static_cast<uint32_t>(-4)); })),
            "rows stored top-down (negative height)");
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU32(f, 22, 0); })), "empty picture (8 x 0)");
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU32(f, 18, 0); })), "empty picture (0 x 4)");
  EXPECT_EQ(Refusal(changed([](auto& f) { SetU32(f, 18, static_cast<uint32_t>(-8)); })),
            "empty picture (-8 x 4)");
}

TEST(DecodePicture, RefusesSizesThatCannotBeRealBeforeAllocating) {
  std::vector<uint8_t> file = EncodeBitmap(Pattern(8, 4));
  // Their product overflows 32 and nearly 64 bits; a reader that multiplies first is lost.
  SetU32(file, 18, 0x7FFFFFFF);
  SetU32(file, 22, 0x7FFFFFFF);
  EXPECT_EQ(Refusal(file), "implausible size 2147483647 x 2147483647");
  SetU32(file, 18, kMaxPictureSide + 1);
  SetU32(file, 22, 1);
  EXPECT_NE(Refusal(file).find("implausible size"), std::string::npos);
  // The largest allowed sides still need their rows inside the file.
  SetU32(file, 18, kMaxPictureSide);
  SetU32(file, 22, kMaxPictureSide);
  EXPECT_NE(Refusal(file).find("run past the end"), std::string::npos);
}

TEST(DecodePicture, PixelRowsMustLieInsideTheFile) {
  const std::vector<uint8_t> good = EncodeBitmap(Pattern(5, 3));  // rows of 16 bytes
  std::vector<uint8_t> file = good;
  file.pop_back();  // even the last row's padding must be there
  EXPECT_EQ(Refusal(file),
            "pixel rows run past the end of the file (48 bytes needed from offset 54, 47 there)");
  for (uint32_t offset : {55u, 1000u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
    file = good;
    SetU32(file, 10, offset);
    EXPECT_NE(Refusal(file).find("run past the end"), std::string::npos) << offset;
  }
  for (uint32_t offset : {0u, 14u, 53u}) {
    file = good;
    SetU32(file, 10, offset);
    EXPECT_EQ(Refusal(file), "pixel data offset " + std::to_string(offset) + " inside the header");
  }
  // The offset is measured against the header actually present.
  file = WithHeaderSize(good, 124, 0);
  SetU32(file, 10, 100);
  EXPECT_EQ(Refusal(file), "pixel data offset 100 inside the header");
}

TEST(DecodePicture, EachUseAcceptsOnlyTheSizesItCanDraw) {
  const auto file = [](int width, int height) { return EncodeBitmap(Pattern(width, height)); };
  EXPECT_TRUE(Decode(file(12, 8), PictureKind::Background, 12, 8));
  EXPECT_EQ(Refusal(file(12, 9), PictureKind::Background, 12, 8),
            "12 x 9 instead of the frame's 12 x 8");
  EXPECT_EQ(Refusal(file(16, 8), PictureKind::AreaImage, 12, 8),
            "16 x 8 instead of the frame's 12 x 8");
  EXPECT_TRUE(Decode(file(12, 8), PictureKind::AreaImage, 12, 8));

  for (PictureKind kind :
       {PictureKind::Sprite, PictureKind::MessageWindow, PictureKind::ChoiceBar}) {
    EXPECT_TRUE(Decode(file(2, 1), kind));
    EXPECT_TRUE(Decode(file(7, 3), kind));  // odd: the blend rounds the colour half down
    EXPECT_EQ(Refusal(file(1, 5), kind), "too narrow for a colour half and a mask half");
  }

  EXPECT_TRUE(Decode(file(kButtonPartsWidth, kButtonPartsHeight), PictureKind::ButtonParts));
  EXPECT_EQ(Refusal(file(1280, 43), PictureKind::ButtonParts), "1280 x 43 instead of 1280 x 44");
  EXPECT_EQ(Refusal(file(640, 44), PictureKind::ButtonParts), "640 x 44 instead of 1280 x 44");

  EXPECT_TRUE(Decode(file(32, 64), PictureKind::WaitCursor));  // two 32 x 32 frames
  EXPECT_EQ(Refusal(file(32, 63), PictureKind::WaitCursor), "fewer than 6144 bytes of pixels");
  EXPECT_TRUE(Decode(file(1, 1), PictureKind::Plain));
}

TEST(ScrambleBackground, TouchesTheFirstFiftyBytesOnlyAndUndoesItself) {
  std::vector<uint8_t> file = EncodeBitmap(Pattern(20, 2));
  const std::vector<uint8_t> plain = file;
  ScrambleBackground(file);
  for (size_t i = 0; i < file.size(); ++i) {
    EXPECT_EQ(file[i], i < kScrambledBytes ? plain[i] ^ kBackgroundKey : plain[i]) << i;
  }
  EXPECT_EQ(Refusal(file), "no BM signature");  // a scrambled file is never taken as plain
  ScrambleBackground(file);
  EXPECT_EQ(file, plain);

  std::vector<uint8_t> tiny = {1, 2, 3};
  ScrambleBackground(tiny);
  EXPECT_EQ(tiny,
            (std::vector<uint8_t>{1 ^ kBackgroundKey, 2 ^ kBackgroundKey, 3 ^ kBackgroundKey}));
  ScrambleBackground({});
}

// ---- Masks ----

std::vector<uint8_t> Indices(int width, int height) {
  std::vector<uint8_t> indices(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 37 + 5);
  return indices;
}

TEST(Mask, RoundTripsOddWidthsAndReadsTheRedOfEachEntry) {
  for (int width : {1, 2, 3, 5, 640, 641}) {
    const std::vector<uint8_t> indices = Indices(width, 3);
    const std::vector<uint8_t> file = EncodeMask(width, 3, indices);
    std::string why;
    const auto mask = DecodeMask(file, why);
    ASSERT_TRUE(mask) << width << ": " << why;
    EXPECT_EQ(mask->width, width);
    EXPECT_EQ(mask->height, 3);
    EXPECT_EQ(mask->indices, indices) << width;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(mask->red[static_cast<size_t>(i)], i);
  }
}

TEST(Mask, TheRedByteOfTheTableCountsAndMissingEntriesReadAsZero) {
  std::vector<uint8_t> file = EncodeMask(4, 1, std::vector<uint8_t>{0, 1, 2, 200});
  file[54 + 4 * 1 + 0] = 9;   // blue of entry 1
  file[54 + 4 * 1 + 2] = 77;  // red of entry 1
  SetU32(file, 46, 3);        // the table declares 3 entries; 200 lies beyond them
  std::string why;
  const auto mask = DecodeMask(file, why);
  ASSERT_TRUE(mask) << why;
  EXPECT_EQ(mask->red[1], 77);
  EXPECT_EQ(mask->red[2], 2);
  EXPECT_EQ(mask->red[3], 0);
  EXPECT_EQ(mask->red[200], 0);
  EXPECT_EQ(mask->indices[3], 200);
}

TEST(Mask, RefusesWhatIsNotAnUncompressed8BitBitmapWithItsTable) {
  const std::vector<uint8_t> good = EncodeMask(6, 2, Indices(6, 2));
  std::string why;
  ASSERT_TRUE(DecodeMask(good, why));
  auto refusal = [](const std::vector<uint8_t>& file) {
    std::string reason;
    EXPECT_FALSE(DecodeMask(file, reason));
    return reason;
  };
  EXPECT_EQ(refusal(EncodeBitmap(Pattern(6, 2))), "24 bits per pixel (8 expected)");
  std::vector<uint8_t> file = good;
  SetU32(file, 30, 1);
  EXPECT_EQ(refusal(file), "compressed pixels (compression 1)");
  file = good;
  SetU32(file, 22, static_cast<uint32_t>(-2));
  EXPECT_EQ(refusal(file), "rows stored top-down (negative height)");
  file = good;
  SetU32(file, 46, 257);  // the table would run into the pixels
  EXPECT_EQ(refusal(file), "colour table of 257 entries runs into the pixel data");
  SetU32(file, 46, 0x12345678);
  EXPECT_NE(refusal(file).find("runs into the pixel data"), std::string::npos);
  file = good;
  SetU32(file, 10, 54 + 4 * 100);  // the pixels said to start inside the 256-entry table
  EXPECT_NE(refusal(file).find("runs into the pixel data"), std::string::npos);
  file = good;
  file.resize(file.size() - 1);
  EXPECT_NE(refusal(file).find("run past the end"), std::string::npos);
}

}  // namespace
}  // namespace qv::graphics
