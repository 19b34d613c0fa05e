// The headless audio device: buffers timed on the virtual clock, resets, and what it records.
#include "platform/headless/HeadlessAudio.h"

#include <gtest/gtest.h>

#include <mutex>

#include "support/HeadlessGame.h"
#include "support/WavReader.h"

namespace qv::platform::headless {
namespace {

struct Completion {
  uint32_t cookie;
  uint64_t atMs;
  bool operator==(const Completion&) const = default;
};

struct HeadlessAudioRig {
  test::TempDir dir;
  VirtualClock clock;  // this thread is its runner
  std::mutex mutex;
  std::vector<Completion> completions;
  std::function<void(uint32_t)> onDone;

  BufferDone Recorder() {
    return [this](AudioHandle, uint32_t cookie) {
      {
        std::lock_guard lock(mutex);
        completions.push_back({cookie, clock.nowMs()});
      }
      if (onDone) onDone(cookie);
    };
  }
  // Lets every thread run, then moves time to `ms`, and lets them run again.
  void RunTo(uint64_t ms) {
    clock.Settle(nullptr);
    clock.AdvanceTo(ms);
    clock.Settle(nullptr);
  }
  std::vector<Completion> Completions() {
    std::lock_guard lock(mutex);
    return completions;
  }
};

const uint8_t* Bytes(const std::vector<int16_t>& samples) {
  return reinterpret_cast<const uint8_t*>(samples.data());
}

TEST(HeadlessAudio, BuffersFinishBackToBackOnTheVirtualClockAndAreRecorded) {
  HeadlessAudioRig rig;
  const std::vector<int16_t> first(500, 7), second(250, -3);
  {
    HeadlessAudio audio(rig.clock, rig.dir.Path());
    AudioHandle handle = audio.Open(AudioChannel::Music, PcmFormat{1000, 1}, rig.Recorder());
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(audio.Write(handle, Bytes(first), 1000, 0));
    ASSERT_TRUE(audio.Write(handle, Bytes(second), 500, 1));
    rig.clock.Settle(nullptr);
    EXPECT_EQ(rig.clock.EarliestDeadline(), 500u);
    rig.RunTo(499);
    EXPECT_TRUE(rig.Completions().empty());
    rig.RunTo(500);
    EXPECT_EQ(rig.Completions(), (std::vector<Completion>{{0, 500}}));
    EXPECT_EQ(rig.clock.EarliestDeadline(), 750u);
    rig.RunTo(750);
    EXPECT_EQ(rig.Completions(), (std::vector<Completion>{{0, 500}, {1, 750}}));
    EXPECT_TRUE(audio.Close(handle));
    EXPECT_FALSE(audio.Write(handle, Bytes(first), 2, 2)) << "a closed stream takes nothing";
  }
  std::optional<test::WavData> wav = test::ReadWav(rig.dir.Path() + "/music.wav");
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->rate, 1000);
  EXPECT_EQ(wav->channels, 1);
  std::vector<int16_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(wav->samples, expected);
  EXPECT_FALSE(test::FileExists(rig.dir.Path() + "/voice.wav"));
}

TEST(HeadlessAudio, ResetFinishesEverythingAtOnceAndKeepsOnlyWhatPlayed) {
  HeadlessAudioRig rig;
  const std::vector<int16_t> samples(2000, 5);
  {
    HeadlessAudio audio(rig.clock, rig.dir.Path());
    AudioHandle handle = audio.Open(AudioChannel::Voice, PcmFormat{1000, 2}, rig.Recorder());
    // A completion under way when the reset comes queues once more; that buffer goes too.
    bool refilled = false;
    rig.onDone = [&](uint32_t) {
      if (!refilled) audio.Write(handle, Bytes(samples), 400, 9);
      refilled = true;
    };
    audio.Write(handle, Bytes(samples), 2000, 0);  // 500 ms
    audio.Write(handle, Bytes(samples), 2000, 1);
    rig.RunTo(300);
    ASSERT_TRUE(audio.Reset(handle));
    EXPECT_EQ(rig.Completions(), (std::vector<Completion>{{0, 300}, {1, 300}, {9, 300}}));
    EXPECT_TRUE(audio.Close(handle));
  }
  std::optional<test::WavData> wav = test::ReadWav(rig.dir.Path() + "/voice.wav");
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->samples.size(), 300u * 2);
}

TEST(HeadlessAudio, ANewEffectCutsTheOnePlaying) {
  HeadlessAudioRig rig;
  {
    HeadlessAudio audio(rig.clock, rig.dir.Path());
    audio.PlayEffect(PcmClip{PcmFormat{1000, 1}, std::vector<int16_t>(1000, 1)});
    rig.RunTo(100);
    audio.PlayEffect(PcmClip{PcmFormat{1000, 1}, std::vector<int16_t>(200, 2)});
    rig.RunTo(5000);
  }
  std::optional<test::WavData> wav = test::ReadWav(rig.dir.Path() + "/se.wav");
  ASSERT_TRUE(wav);
  std::vector<int16_t> expected(100, 1);
  expected.insert(expected.end(), 200, 2);
  EXPECT_EQ(wav->samples, expected);
}

}  // namespace
}  // namespace qv::platform::headless
