// Speed of the Ogg player's decoding and volume scaling, as a factor of real time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/OggStreamPlayer.h"
#include "platform/common/TableCp932.h"
#include "platform/posix/PosixFiles.h"
#include "support/OggCodec.h"

namespace {

using namespace qv;

constexpr int kSeconds = 60;
constexpr int kRate = 44100;

// Takes every buffer and never finishes one: the benchmark drives FillBuffer itself.
class SinkDevice final : public platform::AudioDevice {
 public:
  platform::AudioHandle Open(platform::AudioChannel, const platform::PcmFormat&,
                             platform::BufferDone) override {
    return 1;
  }
  bool Write(platform::AudioHandle, const uint8_t*, uint32_t, uint32_t) override { return true; }
  bool Reset(platform::AudioHandle) override { return true; }
  bool Close(platform::AudioHandle) override { return true; }
  void PlayEffect(platform::PcmClip) override {}
  void StopEffect() override {}
};

// The end notice is never reached here; only Play's notify target is needed.
class NullWindow final : public platform::Window {
 public:
  bool Create(const std::string&, int, int) override { return true; }
  int RunMessageLoop(platform::WindowProcedure&) override { return 0; }
  void PostQuit(int) override {}
  std::optional<platform::Message> TakePendingInput() override { return std::nullopt; }
  int32_t Send(const platform::Message&) override { return 0; }
  int32_t Call(const std::function<int32_t()>& work) override { return work(); }
  void Post(const platform::Message&) override {}
  void DispatchPendingRequests() override {}
  void SetTimer(uint32_t, uint32_t) override {}
  void KillTimer(uint32_t) override {}
  bool IsWindowThread() const override { return true; }
  uint32_t CursorPosition() override { return 0; }
  uint8_t* Picture() override { return nullptr; }
  void Present(int, int, int, int) override {}
};

// A minute of 44.1 kHz stereo tone, encoded once per run.
std::string MinuteOfMusic() {
  const std::string folder = std::filesystem::temp_directory_path() / "qvbench_audio";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/minute.ogg";
  if (!std::filesystem::exists(path)) {
    std::ofstream(path, std::ios::binary)
        << qv::test::EncodeOgg(qv::test::Tone(kSeconds * kRate, kRate, 2, 440.0), kRate, 2);
  }
  return folder;
}

// Decodes the whole minute through FillBuffer at 75 % volume; the counter is the real-time factor.
void DecodeMinuteAtVolume(benchmark::State& state) {
  static const std::string folder = MinuteOfMusic();
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files(folder, cp932);
  SinkDevice device;
  NullWindow window;
  auto player = std::make_unique<audio::OggStreamPlayer>(device, files,
                                                         platform::AudioChannel::Music, nullptr);
  player->filePath = "minute.ogg";
  player->volume = 75;
  uint64_t bytes = 0;
  for (auto _ : state) {
    if (player->Play(window) != 1) {
      state.SkipWithError("cannot play the test file");
      return;
    }
    bytes += player->Length(0) + player->Length(1) + player->Length(2);
    for (int i = 0; player->Marker(i % 3) != audio::OggStreamPlayer::kMarkerLast; ++i) {
      bytes += player->FillBuffer(i % 3);
    }
    player->Stop();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["realtime_x"] =
      benchmark::Counter(static_cast<double>(bytes) / (kRate * 4.0), benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeMinuteAtVolume)->Unit(benchmark::kMillisecond);

}  // namespace
