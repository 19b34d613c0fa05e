// A scripted audio device for unit tests: buffers finish only when the test says so.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "platform/AudioDevice.h"

namespace qv::test {

class FakeAudioDevice final : public platform::AudioDevice {
 public:
  struct Stream {
    platform::BufferDone done;
    std::deque<uint32_t> queued;  // cookies, oldest first
    bool open = true;
  };

  platform::AudioHandle Open(platform::AudioChannel channel, const platform::PcmFormat& format,
                             platform::BufferDone done) override;
  bool Write(platform::AudioHandle handle, const uint8_t* data, uint32_t bytes,
             uint32_t cookie) override;
  bool Reset(platform::AudioHandle handle) override;
  bool Close(platform::AudioHandle handle) override;
  void PlayEffect(platform::PcmClip clip) override { effects.push_back(std::move(clip)); }
  void StopEffect() override { ++effectStops; }

  // Finishes the oldest queued buffer of `handle` (its completion runs now, on this thread).
  // False when nothing is queued.
  bool FinishNext(platform::AudioHandle handle);
  // Finishes buffers until none is queued or `limit` were finished; returns how many.
  int FinishAll(platform::AudioHandle handle, int limit = 1000);
  size_t Queued(platform::AudioHandle handle) const;

  std::map<platform::AudioHandle, Stream> streams;
  std::vector<uint8_t> lastBuffer;  // copied as a device would read it, all of it
  std::vector<platform::PcmClip> effects;
  int effectStops = 0;
  int resets = 0;
  bool failOpen = false;
  int failWriteAfter = -1;  // writes accepted before every further Write fails; -1: never

 private:
  platform::AudioHandle next_ = 1;
};

}  // namespace qv::test
