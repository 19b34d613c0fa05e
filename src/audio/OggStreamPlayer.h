// Streams one Ogg Vorbis file through three fixed PCM buffers to the audio device.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/AudioDevice.h"
#include "platform/Files.h"
#include "platform/Window.h"

namespace qv::audio {

// The music and the voice each have one. Play and Stop run on the window thread; refills run on
// the device's worker thread, one per finished buffer. Two buffers are always queued at the
// device while the third waits decoded, and nothing is allocated while streaming.
class OggStreamPlayer {
 public:
  static constexpr uint32_t kBufferBytes = 0x10000;
  static constexpr int kBufferCount = 3;

  // A buffer's marker: what its completion means once the stream's end has been decoded.
  static constexpr int32_t kMarkerOrdinary = 0;
  static constexpr int32_t kMarkerLast = 1;      // holds the end of the stream
  static constexpr int32_t kMarkerDraining = 2;  // one completion after the last was queued
  static constexpr int32_t kMarkerFinished = 3;  // the stream is over, or Stop is under way

  // Shows one of the player's failure messages (UTF-8); any thread.
  using Warn = std::function<void(const std::string& textUtf8)>;

  // `clearWhenStopped`, when given, is set to 0 by every completion that arrives after the
  // stream was finished or stopped (the voice player clears voicePlaying this way).
  OggStreamPlayer(platform::AudioDevice& device, platform::Files& files,
                  platform::AudioChannel channel, Warn warn,
                  std::atomic<int32_t>* clearWhenStopped = nullptr);
  OggStreamPlayer(const OggStreamPlayer&) = delete;
  OggStreamPlayer& operator=(const OggStreamPlayer&) = delete;
  virtual ~OggStreamPlayer();

  // Window thread. Opens filePath and starts it; `notify` gets MSG_STREAM_DONE (wParam: the
  // device handle) once the last sample of a play-once stream has played. 1 started, 0 failed;
  // a failed start leaves the player closed.
  int Play(platform::Window& notify);
  // Window thread. 1 stopped (or nothing played), 0 when the device refused.
  int Stop();
  // Worker thread: one call per finished buffer, in order.
  int OnBufferDone();
  // Decodes into buffer `index` at the current volume; returns the bytes decoded.
  uint32_t FillBuffer(int index);

  // What plays, or last asked to: written on the window thread only (by the requests, see
  // AudioRequests.h, and by a load while the interpreter is halted), so the interpreter, which
  // waits for its requests, may read it between them.
  std::string filePath;
  std::atomic<int32_t> playOnce{1};
  std::atomic<int16_t> volume{75};  // percent

  bool Playing() const { return playing_ == 1; }
  platform::AudioHandle Device() const { return handle_; }
  int32_t Marker(int index) const { return markers_[index]; }
  uint32_t Length(int index) const { return lengths_[index]; }
  const int16_t* Buffer(int index) const { return &pcm_[index * kBufferSamples]; }

 private:
  static constexpr uint32_t kBufferSamples = kBufferBytes / 2;
  struct Decoder;  // the libvorbisfile state, kept out of this header

  void OnCompletion();
  void ClearDecoder();
  bool Submit(int index);
  void ScaleSamples(int16_t* samples, uint32_t count) const;

  platform::AudioDevice& device_;
  platform::Files& files_;
  const platform::AudioChannel channel_;
  const Warn warn_;
  std::atomic<int32_t>* const clearWhenStopped_;
  platform::Window* notify_ = nullptr;
  std::unique_ptr<Decoder> decoder_;

  // Shared with the worker: the window thread writes them before the device has the buffers
  // and after Reset has taken them back, and reads the indices while a refill may run.
  std::atomic<platform::AudioHandle> handle_{0};
  std::atomic<int32_t> ended_{0};
  std::atomic<int32_t> playing_{0};
  std::atomic<int32_t> fillIndex_{0};
  std::atomic<int32_t> playIndex_{0};
  std::atomic<bool> stopping_{false};
  std::array<std::atomic<int32_t>, kBufferCount> markers_{};
  std::array<std::atomic<uint32_t>, kBufferCount> lengths_{};
  bool atLoopStart_ = true;  // worker-side: nothing decoded since the stream (re)started
  std::array<int16_t, kBufferSamples * kBufferCount> pcm_{};
};

}  // namespace qv::audio
