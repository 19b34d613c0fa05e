// Speed of typing a full page of message text at message speed 0 (five rows of 38 full-width
// characters) with the FreeType rasteriser, against copying the page's pixels once.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/Compositing.h"
#include "platform/OpticalDrives.h"
#include "platform/common/TableCp932.h"
#include "platform/fonts/FreeTypeGlyphs.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessUi.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/VirtualClock.h"
#include "platform/posix/FileInstanceLocks.h"
#include "platform/posix/PosixFiles.h"
#include "screens/TextOutput.h"
#include "script/Engine.h"

namespace {

namespace platform = qv::platform;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// An engine with real fonts and a window picture, and nothing logged (as in play).
struct TextRig {
  platform::NullEventLog log;
  platform::headless::VirtualClock clock;
  platform::headless::HeadlessUi ui{log};
  platform::headless::HeadlessWindow window{clock, ui, log, "/tmp"};
  platform::headless::HeadlessDisplay display;
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files{"/tmp", cp932};
  platform::posix::FileInstanceLocks locks;
  platform::NoOpticalDrives drives;
  platform::fonts::FreeTypeGlyphs glyphs{cp932};
  platform::headless::HeadlessAudio audio{clock, "/tmp"};
  platform::Platform services{clock, window, ui,     display, files, cp932,
                              log,   locks,  drives, glyphs,  audio};
  qv::script::Engine engine{services};

  TextRig() {
    engine.services.config.width = kWidth;
    engine.services.config.height = kHeight;
    window.Create("bench", kWidth, kHeight);
    qv::graphics::CreateSurfaces(engine.view);
    engine.services.env.messageSpeed = 0;
  }
};

// 38 different kanji and kana a row, so the rows are not one glyph repeated.
std::vector<std::string> PageRows(platform::Cp932& cp932) {
  const char* rows[] = {
      "春の朝、窓の外では桜の花びらが風に舞っていた。目覚まし時計はとっくに鳴り終わっていて、",
      "カーテンの隙間から差し込む光が床の上に細長い四角を描いている。陽菜は窓辺に腰かけて、足",
      "をぶらぶらさせながらこちらを見ていた。今日は約束の日だよね、と彼女は言った。駅前の広場",
      "で待ち合わせて、少し早いけれど出かけることにする。空は晴れていて、遠くで電車の音がした",
      "。二人で歩く道は、いつもより少しだけ長く感じられた。夕暮れの駅で手を振って別れるまで。"};
  std::vector<std::string> out;
  for (const char* row : rows) {
    std::string sjis;
    size_t bad = 0;
    cp932.FromUtf8(row, sjis, bad);
    out.push_back(sjis.substr(0, 76));
  }
  return out;
}

void TypePage(benchmark::State& state) {
  TextRig rig;
  if (!rig.engine.view.messageFont) return state.SkipWithError("no Japanese font installed");
  const auto rows = PageRows(rig.cp932);
  for (auto _ : state) {
    rig.engine.input.newPageRequested = 1;
    for (const std::string& row : rows) qv::screens::ShowTextLine(rig.engine.view, row);
    benchmark::DoNotOptimize(rig.engine.view.screen.Surface().Data());
  }
  state.SetLabel("5 x 38 glyphs");
}
BENCHMARK(TypePage)->Unit(benchmark::kMicrosecond);

// The reference: the page's pixels (one 800 x 600 frame) copied once.
void CopyPage(benchmark::State& state) {
  std::vector<uint8_t> from(size_t{kWidth} * kHeight * 3, 7), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CopyPage)->Unit(benchmark::kMicrosecond);

}  // namespace
