// The FreeType rasteriser on the installed Japanese fonts: face fallback, sizing, coverage, cache.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/TableCp932.h"
#include "platform/fonts/FontLocator.h"
#include "platform/fonts/FreeTypeFont.h"
#include "platform/fonts/FreeTypeGlyphs.h"
#include "support/HeadlessGame.h"

namespace qv::platform::fonts {
namespace {

namespace fs = std::filesystem;

const std::string kGothic = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
const std::string kGothicWideSpace =
    "\x82\x6C\x82\x72\x81\x40\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ　ゴシック
const std::string kPGothic =
    "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ Ｐゴシック
const std::string kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
const std::string kIpaPGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

constexpr uint32_t kBlackSquare = 0x81A1;  // ■
constexpr uint32_t kHiraganaA = 0x82A0;    // あ
constexpr uint32_t kKanji = 0x90B0;        // 晴

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}
bool Exists(const std::string& path) {
  return fs::is_regular_file(path);
}

bool Equal(const GlyphBitmap& a, const GlyphBitmap& b) {
  return a.blackBoxX == b.blackBoxX && a.blackBoxY == b.blackBoxY && a.pitch == b.pitch &&
         a.originX == b.originX && a.originY == b.originY && a.coverage == b.coverage;
}

class FreeTypeGlyphsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FontLocator().Candidates("", 400).empty()) GTEST_SKIP() << "no Japanese font installed";
  }
  std::shared_ptr<Font> Open(const std::string& face, int32_t cellHeight = 21,
                             int32_t weight = 400) {
    return glyphs_.OpenFont({face, cellHeight, weight});
  }

  TableCp932 cp932_;
  FreeTypeGlyphs glyphs_{cp932_};
};

TEST(FontNames, ReadAsWindowsUsersWriteThem) {
  EXPECT_TRUE(SameFamilyName("ＭＳ ゴシック", "ＭＳ　ゴシック"));
  EXPECT_TRUE(SameFamilyName("ipagothic", "IPA Gothic"));
  EXPECT_FALSE(SameFamilyName("ＭＳ ゴシック", "ＭＳ Ｐゴシック"));
  EXPECT_FALSE(SameFamilyName("MS Gothic", "ＭＳ ゴシック"));
  EXPECT_TRUE(NamesProportionalFace("ＭＳ Ｐゴシック"));
  EXPECT_TRUE(NamesProportionalFace("MS PGothic"));
  EXPECT_FALSE(NamesProportionalFace("ＭＳ ゴシック"));
  EXPECT_TRUE(NamesMinchoFace("ＭＳ 明朝"));
  EXPECT_TRUE(NamesMinchoFace("MS mincho"));
  EXPECT_FALSE(NamesMinchoFace("ＭＳ Ｐゴシック"));
}

TEST_F(FreeTypeGlyphsTest, WindowsFaceNamesFallBackToAnInstalledJapaneseFace) {
  const auto gothic = Open(kGothic), wideSpace = Open(kGothicWideSpace), pGothic = Open(kPGothic);
  ASSERT_TRUE(gothic && wideSpace && pGothic);
  GlyphBitmap glyph;
  for (const auto& font : {gothic, wideSpace, pGothic}) {
    // fontconfig's own answer for these names has no Japanese; the stand-in must.
    EXPECT_TRUE(font->Glyph(kHiraganaA, glyph) && glyph.blackBoxX > 0) << font->FilePath();
  }
  EXPECT_TRUE(SameFile(gothic->FilePath(), wideSpace->FilePath()));
  EXPECT_TRUE(!Exists(kIpaGothic) || SameFile(gothic->FilePath(), kIpaGothic));
  if (Exists(kIpaPGothic)) {
    EXPECT_TRUE(SameFile(pGothic->FilePath(), kIpaPGothic));
    const auto byName = Open("IPAPGothic");  // an installed family is used by its own name
    EXPECT_TRUE(byName && SameFile(byName->FilePath(), kIpaPGothic));
  }
}

TEST_F(FreeTypeGlyphsTest, GlyphsKeepInsideTheCellSpacesHaveNoInkAndNonCharactersFail) {
  const auto font = Open(kGothic);
  ASSERT_TRUE(font);
  GlyphBitmap square;
  ASSERT_TRUE(font->Glyph(kBlackSquare, square) && square.blackBoxX > 0);
  // Rows padded to whole 32-bit words, as Windows hands them out.
  EXPECT_EQ(square.pitch, (square.blackBoxX + 3) / 4 * 4);
  ASSERT_EQ(square.coverage.size(), square.ByteSize());
  int full = 0;
  for (int32_t row = 0; row < square.blackBoxY; ++row) {
    for (int32_t column = 0; column < square.pitch; ++column) {
      const uint8_t value = square.coverage[row * square.pitch + column];
      EXPECT_LE(value, column < square.blackBoxX ? 64 : 0) << row << "," << column;
      full += value == 64;
    }
  }
  EXPECT_GT(full, square.blackBoxX * square.blackBoxY / 2);  // the inside is solid ink

  // Placed as the text layer places it (top at ascent − originY), every glyph keeps inside the
  // 21-pixel cell, the descender of "g" included.
  const int32_t ascent = font->Ascent();
  for (uint32_t code : {kBlackSquare, kHiraganaA, kKanji, uint32_t{'g'}, uint32_t{'A'}}) {
    GlyphBitmap glyph;
    ASSERT_TRUE(font->Glyph(code, glyph)) << code;
    EXPECT_GE(ascent - glyph.originY, 0) << code;
    EXPECT_LE(ascent - glyph.originY + glyph.blackBoxY, 21) << code;
  }
  // Spaces render without ink and codes that are no character fail (a lone lead byte, an
  // unassigned pair, two one-byte characters, a code beyond two bytes), from the cache alike,
  // whatever the caller's bitmap held before.
  for (uint32_t code : {0x20u, 0x8140u, 0x81u, 0x8540u, 0x4142u, 0x10000u, 0x82A0FFu}) {
    const bool space = code == 0x20u || code == 0x8140u;
    for (int pass = 0; pass < 2; ++pass) {
      GlyphBitmap glyph;
      ASSERT_TRUE(font->Glyph(kHiraganaA, glyph));
      EXPECT_EQ(font->Glyph(code, glyph), space) << std::hex << code;
      EXPECT_TRUE(glyph.blackBoxX == 0 && glyph.coverage.empty() &&
                  (!space || glyph.blackBoxY == 0))
          << std::hex << code;
    }
  }
}

TEST_F(FreeTypeGlyphsTest, SizesByTheWindowsCellHeightAndRefusesHeightsNoTextLayerUses) {
  EXPECT_EQ(Open(kGothic, 0), nullptr);
  EXPECT_EQ(Open(kGothic, -21), nullptr);
  EXPECT_EQ(Open(kGothic, FreeTypeGlyphs::kMaxCellHeight + 1), nullptr);
  EXPECT_EQ(Open(kGothic), Open(kGothic));  // opened once, handed out again
  if (!Exists(kIpaGothic)) GTEST_SKIP() << "IPAGothic is not installed";
  // IPAGothic: 2048 units per em, winAscent 1802 + winDescent 401 = a cell of 2203 units.
  const auto font21 = std::dynamic_pointer_cast<FreeTypeFont>(Open("IPAGothic", 21));
  const auto font42 = std::dynamic_pointer_cast<FreeTypeFont>(Open("IPAGothic", 42));
  ASSERT_TRUE(font21 && font42);
  EXPECT_EQ(font21->PixelsPerEm(), 20);  // 21 × 2048 / 2203 = 19.5
  EXPECT_EQ(font21->Ascent(), 18);       // 1802 × 20 / 2048 = 17.6
  EXPECT_EQ(font42->PixelsPerEm(), 39);  // 39.04
  EXPECT_EQ(font42->Ascent(), 34);       // 34.3
}

// Bold requests are drawn heavier; either way cached glyphs equal fresh ones.
TEST_F(FreeTypeGlyphsTest, BoldIsHeavierAndCachedGlyphsEqualFreshOnesWhileTwoThreadsFillTheCache) {
  std::vector<uint32_t> codes = {kKanji, kBlackSquare, kHiraganaA, 0x8140u, uint32_t{'g'}, 0xB1u};
  std::vector<int> ink;
  for (uint32_t code = 0x889F; code < 0x88FC; ++code) codes.push_back(code);  // a row of kanji
  for (int32_t weight : {400, 700}) {
    SCOPED_TRACE(weight);
    auto font = std::dynamic_pointer_cast<FreeTypeFont>(Open(kGothic, 21, weight));
    auto otherSize = Open(kGothic, 22, weight);  // another face of the same library, in use too
    ASSERT_TRUE(font && otherSize);
    std::vector<GlyphBitmap> expected(codes.size());
    for (size_t i = 0; i < codes.size(); ++i)
      ASSERT_TRUE(font->RenderUncached(codes[i], expected[i]));
    ink.push_back(0);
    for (uint8_t value : expected[0].coverage) ink.back() += value;
    std::vector<int> mismatches(2, 0);
    auto work = [&](int thread) {
      for (int pass = 0; pass < 3; ++pass) {
        for (size_t i = 0; i < codes.size(); ++i) {
          const size_t at = thread == 0 ? i : codes.size() - 1 - i;  // one fills, one reads
          GlyphBitmap glyph, other;
          if (!font->Glyph(codes[at], glyph) || !Equal(glyph, expected[at])) ++mismatches[thread];
          otherSize->Glyph(codes[at], other);
        }
      }
    };
    std::thread first(work, 0), second(work, 1);
    first.join(), second.join();
    EXPECT_EQ(mismatches, (std::vector<int>{0, 0}));
  }
  EXPECT_GT(ink[1], ink[0] * 11 / 10);
}

TEST(FreeTypeFontFiles, BrokenFilesAreRefusedOrRenderNothing) {
  TableCp932 cp932;
  auto library = std::make_shared<FreeTypeLibrary>();
  const test::TempDir dir;
  const fs::path folder = dir.Path();
  const std::string garbage = (folder / "garbage.ttf").string();
  std::ofstream(garbage, std::ios::binary) << std::string(4096, '\x5A');
  const FontRequest request{"x", 21, 400};
  EXPECT_EQ(FreeTypeFont::Open(library, cp932, {garbage, 0, "x"}, request), nullptr);
  EXPECT_EQ(FreeTypeFont::Open(library, cp932, {(folder / "none.ttf").string(), 0, "x"}, request),
            nullptr);
  if (Exists(kIpaGothic)) {
    // Cut off inside its glyph data: opening may still work, drawing must not crash.
    std::ifstream in(kIpaGothic, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string truncated = (folder / "truncated.ttf").string();
    std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    if (auto font = FreeTypeFont::Open(library, cp932, {truncated, 0, "x"}, request)) {
      GlyphBitmap glyph;
      for (uint32_t code = 0x889F; code < 0x88FC; ++code) {
        EXPECT_TRUE(!font->Glyph(code, glyph) || glyph.coverage.size() == glyph.ByteSize());
      }
    }
  }
}

}  // namespace
}  // namespace qv::platform::fonts
