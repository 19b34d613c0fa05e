// Headless pieces: the events file, and the audio device's resets, cut effects and recordings,
// on the virtual time shared between threads that every headless game plays on.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <utility>

#include "platform/headless/EventScript.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/VirtualClock.h"
#include "support/HeadlessGame.h"
#include "support/WavReader.h"

namespace qv::platform::headless {
namespace {

// What every good line does is the golden replays'; a bad one is named by its number.
TEST(EventScript, NamesTheFirstBadLine) {
  std::vector<ScriptedEvent> events;
  std::string error;
  for (const char* bad :
       {"jump 1 2", "click 1", "key 300", "wait -1", "answer maybe", "shot ../escape", "state",
        "idle now", "menu 0", "wheel 0", "pad z", "pad a sideways", "padplug 1"}) {
    EXPECT_FALSE(ParseEventScript(std::string("idle\n") + bad + "\n", events, error)) << bad;
    EXPECT_EQ(error.rfind("2: ", 0), 0u) << error;
  }
}

std::vector<int16_t> Recorded(const std::string& path, int rate, int channels) {
  const PcmClip wav = test::ReadRecording(path);
  EXPECT_TRUE(wav.format.rate == static_cast<uint32_t>(rate) && wav.format.channels == channels);
  return wav.samples;
}

// A reset finishes everything at once and keeps only what played; a new effect cuts the one
// playing. (Buffers played through are timed and recorded in every golden replay with sound.)
TEST(HeadlessAudio, ResetsAndNewEffectsCutWhatIsPlayingAndAClosedStreamTakesNothing) {
  test::TempDir dir;
  VirtualClock clock;                    // its runner is this thread
  const auto runTo = [&](uint64_t ms) {  // every thread runs before time moves and after
    clock.Settle(nullptr);
    clock.AdvanceTo(ms);
    clock.Settle(nullptr);
  };
  const std::vector<int16_t> samples(2000, 5);
  const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
  std::mutex mutex;
  std::vector<std::pair<uint32_t, uint64_t>> completions;  // cookie, time
  {
    HeadlessAudio audio(clock, dir.Path());
    AudioHandle handle = 0;
    handle = audio.Open(AudioChannel::Voice, PcmFormat{1000, 2}, [&](AudioHandle, uint32_t cookie) {
      bool first = false;
      {
        std::lock_guard lock(mutex);
        completions.emplace_back(cookie, clock.nowMs());
        first = completions.size() == 1;
      }
      // A completion under way when the reset comes queues once more; that buffer goes too.
      if (first) audio.Write(handle, bytes, 400, 9);
    });
    audio.Write(handle, bytes, 2000, 0);  // 500 ms
    audio.Write(handle, bytes, 2000, 1);
    audio.PlayEffect(PcmClip{PcmFormat{1000, 1}, std::vector<int16_t>(1000, 1)});
    runTo(300);
    ASSERT_TRUE(audio.Reset(handle));
    {
      std::lock_guard lock(mutex);
      EXPECT_EQ(completions,
                (std::vector<std::pair<uint32_t, uint64_t>>{{0, 300}, {1, 300}, {9, 300}}));
    }
    EXPECT_TRUE(audio.Close(handle));
    EXPECT_FALSE(audio.Write(handle, bytes, 2, 2));
    audio.PlayEffect(PcmClip{PcmFormat{1000, 1}, std::vector<int16_t>(200, 2)});
    runTo(5000);
  }
  EXPECT_EQ(Recorded(dir.Path() + "/voice.wav", 1000, 2).size(), 300u * 2);
  std::vector<int16_t> expected(300, 1);
  expected.insert(expected.end(), 200, 2);
  EXPECT_EQ(Recorded(dir.Path() + "/se.wav", 1000, 1), expected);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/music.wav")) << "a channel never opened";
}

}  // namespace
}  // namespace qv::platform::headless
