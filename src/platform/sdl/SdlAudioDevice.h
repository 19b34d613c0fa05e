// The audio device of real play: one SDL audio device mixing the music, the voice and the effects.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/AudioDevice.h"

namespace qv::platform::sdl {

// Streams of any rate and channel count are converted to the device's format by their own
// SDL_AudioStream. The device callback only mixes and marks finished buffers; a worker thread
// reports them, in order, outside the callback. Without a usable sound device the game plays
// silently on SDL's dummy driver (which keeps real time), so voice waits and end notices still
// come; stderr says so once.
class SdlAudioDevice final : public AudioDevice {
 public:
  SdlAudioDevice();
  ~SdlAudioDevice() override;
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  AudioHandle Open(AudioChannel channel, const PcmFormat& format, BufferDone done) override;
  bool Write(AudioHandle handle, const uint8_t* data, uint32_t bytes, uint32_t cookie) override;
  bool Reset(AudioHandle handle) override;
  bool Close(AudioHandle handle) override;
  void PlayEffect(PcmClip clip) override;
  void StopEffect() override;

  // The SDL audio driver in use ("" when none could be opened).
  const std::string& DriverName() const { return driver_; }

 private:
  struct Output;
  struct Finished {
    AudioHandle handle;
    uint32_t cookie;
  };

  static void Callback(void* self, uint8_t* stream, int len);
  void Mix(uint8_t* stream, int len);  // device callback, audio lock held
  void RunWorker();
  bool OpenDevice();
  void Lock();
  void Unlock();

  uint32_t device_ = 0;  // SDL_AudioDeviceID
  std::string driver_;
  int outRate_ = 44100;
  int outChannels_ = 2;

  // Guarded by the audio lock (the callback's side).
  std::map<AudioHandle, std::shared_ptr<Output>> outputs_;
  struct EffectStream;
  std::unique_ptr<EffectStream> effect_;
  std::vector<int32_t> mix_;
  std::vector<int16_t> scratch_;
  AudioHandle nextHandle_ = 1;
#ifdef __EMSCRIPTEN__
  // The audio lock there: SDL's Web Audio driver runs the callback on the page's thread while
  // the program's threads run, and its own device lock does nothing.
  std::mutex callbackMutex_;
#endif

  // Guarded by mutex_ (the worker's side).
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Finished> finished_;
  AudioHandle delivering_ = 0;
  bool shutdown_ = false;
  std::thread worker_;
};

}  // namespace qv::platform::sdl
