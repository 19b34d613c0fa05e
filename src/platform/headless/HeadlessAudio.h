// The audio device of headless runs: plays on the virtual clock and records what it played.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/AudioDevice.h"
#include "platform/headless/VirtualClock.h"
#include "platform/headless/WavWriter.h"

namespace qv::platform::headless {

// A buffer of N frames at rate R finishes N × 1000 / R ms after it starts; queued buffers play
// back to back. The music and the voice are written to DIR/music.wav and DIR/voice.wav as they
// play, the sound effects to DIR/se.wav. Completions are reported by a worker thread that takes
// part in the virtual clock, so a run stays deterministic.
class HeadlessAudio final : public AudioDevice {
 public:
  // Construct and destroy on the runner thread.
  HeadlessAudio(VirtualClock& clock, const std::string& outDir);
  ~HeadlessAudio() override;

  AudioHandle Open(AudioChannel channel, const PcmFormat& format, BufferDone done) override;
  bool Write(AudioHandle handle, const uint8_t* data, uint32_t bytes, uint32_t cookie) override;
  bool Reset(AudioHandle handle) override;
  bool Close(AudioHandle handle) override;
  void PlayEffect(PcmClip clip) override;
  void StopEffect() override;

 private:
  struct Buffer {
    const uint8_t* data;
    uint32_t bytes;
    uint32_t cookie;
  };
  // Everything in a Stream is guarded by the clock's lock.
  struct Stream {
    AudioChannel channel;
    PcmFormat format;
    BufferDone done;
    std::deque<Buffer> queued;      // the front one is playing
    std::deque<uint32_t> finished;  // cookies not yet reported
    bool delivering = false;
    bool running = false;     // a run of back-to-back buffers is playing
    uint64_t runStartMs = 0;  // when that run began
    uint64_t runFrames = 0;   // frames of the run that finished before the front buffer
  };

  void RunWorker();
  // Clock's lock held.
  std::optional<uint64_t> NextFinish() const;
  uint64_t FrontFinish(const Stream& stream) const;
  void FinishDue(uint64_t now);
  void Record(const Stream& stream, const uint8_t* data, uint32_t bytes);
  bool Undelivered(const Stream& stream) const;
  // Effects' own lock.
  void EndEffect(uint64_t now);

  VirtualClock& clock_;
  WavWriter music_, voice_;
  std::map<AudioHandle, Stream> streams_;
  AudioHandle nextHandle_ = 1;
  uint64_t generation_ = 0;  // bumped by every change the worker must look at
  bool shutdown_ = false;
  bool workerDone_ = false;
  std::thread worker_;

  std::mutex effectMutex_;
  WavWriter se_;
  std::optional<PcmClip> effect_;
  uint64_t effectStartMs_ = 0;
};

}  // namespace qv::platform::headless
