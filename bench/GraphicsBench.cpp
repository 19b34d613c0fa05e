// Speed of the per-frame pixel passes and the masked blend, each against a plain copy of a frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/Surface.h"
#include "graphics/FrameKernels.h"
#include "graphics/MaskedBlend.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 3;

// Deterministic pixels that are not all alike, so no pass can take a shortcut.
std::vector<uint8_t> Noise(size_t bytes, uint32_t seed) {
  std::vector<uint8_t> out(bytes);
  for (auto& byte : out) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  return out;
}

void FillSurface(qv::core::Surface& surface, uint32_t seed) {
  const auto noise = Noise(surface.SizeBytes(), seed);
  std::memcpy(surface.Data(), noise.data(), noise.size());
}

// The reference: the bytes of one 800 x 600 frame copied once.
void Memcpy(benchmark::State& state) {
  const auto from = Noise(kFrameBytes, 1);
  std::vector<uint8_t> to(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(Memcpy);

// A cross-fade frame: the mix into the screen, written to the window's picture in the same pass.
void CrossFadeFrame(benchmark::State& state) {
  const auto oldPixels = Noise(kFrameBytes, 2), newPixels = Noise(kFrameBytes, 3);
  std::vector<uint8_t> screen(kFrameBytes), window(kFrameBytes);
  int a = 0;
  for (auto _ : state) {
    qv::graphics::CrossFadeBytes(screen.data(), window.data(), oldPixels.data(), newPixels.data(),
                                 kFrameBytes, a);
    a = (a + 4) % 257;
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CrossFadeFrame);

// An ordered-dissolve frame: one cell position of the new picture into the screen, then all of
// the screen to the window's picture.
void DissolveFrame(benchmark::State& state) {
  const auto newPixels = Noise(kFrameBytes, 4);
  auto screen = Noise(kFrameBytes, 5);
  std::vector<uint8_t> window(kFrameBytes);
  int cell = 0;
  for (auto _ : state) {
    qv::graphics::CopyDissolveCells(screen.data(), newPixels.data(), size_t{kWidth} * 3, kWidth,
                                    kHeight, cell / 4, cell % 4);
    std::memcpy(window.data(), screen.data(), kFrameBytes);
    cell = (cell + 1) % 16;
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(DissolveFrame);

// A mask-transition frame: the in-place blend on the screen, also into the window's picture.
void MaskTransitionFrame(benchmark::State& state) {
  qv::graphics::MaskPicture mask;
  mask.width = kWidth;
  mask.height = kHeight;
  mask.indices = Noise(size_t{kWidth} * kHeight, 6);
  for (int i = 0; i < 256; ++i) mask.red[i] = static_cast<uint8_t>(i);
  const auto shares = qv::graphics::ResolveMaskShares(mask, kWidth, kHeight, size_t{kWidth} * 3);
  const auto newPixels = Noise(kFrameBytes, 7);
  auto screen = Noise(kFrameBytes, 8);
  std::vector<uint8_t> window(kFrameBytes);
  int level = -256;
  for (auto _ : state) {
    qv::graphics::MaskBlendBytes(screen.data(), window.data(), newPixels.data(), shares.data(),
                                 kFrameBytes, level);
    level = level == 256 ? -256 : level + 16;
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MaskTransitionFrame);

// A full-screen overlay: a 1600 x 600 masked picture over an 800 x 600 picture at full opacity.
// Its mask has opaque, graded and fully transparent pixels, a few with only one byte at 255.
void MaskedBlend(benchmark::State& state) {
  qv::core::Surface destination(kWidth, kHeight), sprite(2 * kWidth, kHeight);
  FillSurface(destination, 9);
  FillSurface(sprite, 10);
  const auto kinds = Noise(size_t{kWidth} * kHeight, 11);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* mask = sprite.Row(y) + kWidth * 3;
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t kind = kinds[size_t{static_cast<size_t>(y)} * kWidth + x];
      uint8_t* pixel = mask + 3 * x;
      if (kind < 96) {
        std::memset(pixel, 255, 3);
      } else if (kind < 104) {
        pixel[1] = 255;
      } else {
        std::memset(pixel, kind < 200 ? 0 : kind, 3);
      }
    }
  }
  for (auto _ : state) {
    qv::graphics::BlendMaskedSprite(destination, 0, 0, sprite, 255);
    benchmark::DoNotOptimize(destination.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MaskedBlend);

// Prints every case as usual, then each as a multiple of the plain copy, against its goal.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        nanoseconds_[run.benchmark_name()] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
      }
    }
  }

  void PrintRatios() const {
    const auto reference = nanoseconds_.find("Memcpy");
    if (reference == nanoseconds_.end() || reference->second <= 0) return;
    struct Goal {
      const char* name;
      double limit;
    };
    const Goal goals[] = {{"CrossFadeFrame", 3},
                          {"DissolveFrame", 3},
                          {"MaskTransitionFrame", 8},
                          {"MaskedBlend", 8}};
    std::printf("\n800 x 600 frame, as multiples of memcpy of its %zu bytes (%.1f us):\n",
                kFrameBytes, reference->second / 1000);
    bool allMet = true;
    for (const Goal& goal : goals) {
      const auto found = nanoseconds_.find(goal.name);
      if (found == nanoseconds_.end()) continue;
      const double ratio = found->second / reference->second;
      const bool met = ratio <= goal.limit;
      allMet = allMet && met;
      std::printf("  %-20s %8.1f us  %5.2fx  (goal %.0fx: %s)\n", goal.name, found->second / 1000,
                  ratio, goal.limit, met ? "met" : "MISSED");
    }
    std::printf("summary: %s\n", allMet ? "every goal met" : "some goals missed");
  }

 private:
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
