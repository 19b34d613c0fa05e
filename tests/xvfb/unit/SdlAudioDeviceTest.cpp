// The SDL audio device on SDL's dummy and disk drivers: completions in order off the callback,
// resets, conversion of other formats, the silent fallback and the mixed output.
#include "platform/sdl/SdlAudioDevice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "support/ScopedEnv.h"

namespace qv::platform::sdl {
namespace {

using namespace std::chrono_literals;

// Completions as the worker reports them.
struct Recorder {
  std::mutex mutex;
  std::vector<uint32_t> cookies;
  std::vector<std::thread::id> threads;

  BufferDone Callback() {
    return [this](AudioHandle, uint32_t cookie) {
      std::lock_guard lock(mutex);
      cookies.push_back(cookie);
      threads.push_back(std::this_thread::get_id());
    };
  }
  std::vector<uint32_t> Cookies() {
    std::lock_guard lock(mutex);
    return cookies;
  }
  bool WaitFor(size_t count) {
    for (int i = 0; i < 500 && Cookies().size() < count; ++i) std::this_thread::sleep_for(10ms);
    return Cookies().size() >= count;
  }
};

bool Write(SdlAudioDevice& device, AudioHandle handle, const std::vector<int16_t>& samples,
           uint32_t cookie) {
  return device.Write(handle, reinterpret_cast<const uint8_t*>(samples.data()),
                      static_cast<uint32_t>(samples.size() * 2), cookie);
}

TEST(SdlAudioDevice, ReportsFinishedBuffersInOrderFromItsWorkerAndAllAtOnceOnReset) {
  // Without a usable driver it plays silently on the dummy one, which keeps real time.
  const test::ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  SdlAudioDevice device;
  ASSERT_EQ(device.DriverName(), "dummy");
  Recorder recorder;
  // A stream that needs converting: 22050 Hz mono into the device's 44100 Hz stereo.
  AudioHandle handle = device.Open(AudioChannel::Voice, PcmFormat{22050, 1}, recorder.Callback());
  ASSERT_NE(handle, 0u);
  const std::vector<int16_t> samples(2205, 1000);  // 100 ms
  for (uint32_t i = 0; i < 4; ++i) ASSERT_TRUE(Write(device, handle, samples, i));
  ASSERT_TRUE(device.Write(handle, nullptr, 0, 4));  // an empty buffer finishes in its turn
  ASSERT_TRUE(recorder.WaitFor(5));
  EXPECT_EQ(recorder.Cookies(), (std::vector<uint32_t>{0, 1, 2, 3, 4}));
  {
    std::lock_guard lock(recorder.mutex);
    const std::thread::id worker = recorder.threads[0];
    EXPECT_NE(worker, std::this_thread::get_id());
    for (std::thread::id id : recorder.threads) EXPECT_EQ(id, worker);
  }
  const std::vector<int16_t> second(22050, 0);
  for (uint32_t i = 5; i < 8; ++i) Write(device, handle, second, i);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(device.Reset(handle));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  // Every completion has been reported by the time Reset returns.
  EXPECT_EQ(recorder.Cookies(), (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_TRUE(device.Close(handle));
  EXPECT_FALSE(device.Write(handle, nullptr, 0, 8));
  EXPECT_FALSE(device.Reset(handle));
}

TEST(SdlAudioDevice, MixesStreamsAndEffectsIntoTheDeviceOutput) {
  const std::string path = ::testing::TempDir() + "qv_sdl_audio_" + std::to_string(getpid());
  const test::ScopedEnv file("SDL_DISKAUDIOFILE", path.c_str());
  {
    const test::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    SdlAudioDevice device;
    ASSERT_EQ(device.DriverName(), "disk");
    Recorder recorder;
    AudioHandle handle = device.Open(AudioChannel::Music, PcmFormat{44100, 2}, recorder.Callback());
    std::vector<int16_t> music(4410 * 2, 1000);
    Write(device, handle, music, 0);
    device.PlayEffect(PcmClip{PcmFormat{44100, 2}, std::vector<int16_t>(4410 * 2, 234)});
    ASSERT_TRUE(recorder.WaitFor(1));
    device.Reset(handle);
    device.Close(handle);
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  ASSERT_GE(bytes.size(), 4410u * 4);
  size_t mixed = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    int16_t s = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | bytes[i + 1] << 8);
    mixed += s == 1234 ? 1 : 0;
  }
  // Music and effect started in the same callback or nearly so: most of the 100 ms hold both.
  EXPECT_GT(mixed, 4410u);
}

}  // namespace
}  // namespace qv::platform::sdl
