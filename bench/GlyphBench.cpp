// Speed of one full-width glyph from the FreeType rasteriser at the message text's size, drawn
// afresh and taken from the cache.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/common/TableCp932.h"
#include "platform/fonts/FreeTypeFont.h"
#include "platform/fonts/FreeTypeGlyphs.h"

namespace {

using qv::platform::GlyphBitmap;
using qv::platform::fonts::FreeTypeFont;

constexpr uint32_t kKanji = 0x90B0;  // 晴

struct MessageFont {
  qv::platform::TableCp932 cp932;
  qv::platform::fonts::FreeTypeGlyphs glyphs{cp932};
  // "ＭＳ ゴシック" at cell height 21, as the message window asks for it.
  std::shared_ptr<FreeTypeFont> font = std::dynamic_pointer_cast<FreeTypeFont>(
      glyphs.OpenFont({"\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", 21, 400}));
};

void GlyphUncached(benchmark::State& state) {
  MessageFont message;
  if (!message.font) return state.SkipWithError("no Japanese font installed");
  GlyphBitmap glyph;
  for (auto _ : state) {
    message.font->RenderUncached(kKanji, glyph);
    benchmark::DoNotOptimize(glyph.coverage.data());
  }
}
BENCHMARK(GlyphUncached);

void GlyphCached(benchmark::State& state) {
  MessageFont message;
  if (!message.font) return state.SkipWithError("no Japanese font installed");
  GlyphBitmap glyph;
  message.font->Glyph(kKanji, glyph);
  for (auto _ : state) {
    message.font->Glyph(kKanji, glyph);
    benchmark::DoNotOptimize(glyph.coverage.data());
  }
}
BENCHMARK(GlyphCached);

}  // namespace
