// The SDL audio device (see SdlAudioDevice.h).
#include "platform/sdl/SdlAudioDevice.h"

#include <SDL.h>
#ifdef __EMSCRIPTEN__
#include <emscripten/threading.h>
#endif

#include <algorithm>
#include <cstdio>

namespace qv::platform::sdl {

struct SdlAudioDevice::Output {
  AudioChannel channel;
  PcmFormat format;
  BufferDone done;
  SDL_AudioStream* stream = nullptr;
  struct Pending {
    const uint8_t* data;
    uint32_t bytes;
    uint32_t cookie;
    bool fed;
    uint64_t mark;  // converted bytes consumed once its last sample has been mixed
  };
  std::deque<Pending> queued;
  uint64_t consumed = 0;  // converted bytes taken from the stream since the last reset
  bool flushed = false;
  ~Output() {
    if (stream) SDL_FreeAudioStream(stream);
  }
};

struct SdlAudioDevice::EffectStream {
  SDL_AudioStream* stream = nullptr;
  ~EffectStream() {
    if (stream) SDL_FreeAudioStream(stream);
  }
};

SdlAudioDevice::SdlAudioDevice() : effect_(std::make_unique<EffectStream>()) {
  if (!OpenDevice()) {
    std::fprintf(stderr, "qvplay: no sound device (%s); playing silently\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // The dummy driver consumes sound in real time, so the game keeps its pace without one.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (!OpenDevice()) {
      std::fprintf(stderr, "qvplay: no sound at all (%s)\n", SDL_GetError());
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  }
  worker_ = std::thread([this] { RunWorker(); });
}

SdlAudioDevice::~SdlAudioDevice() {
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
  }
  changed_.notify_all();
  worker_.join();
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  outputs_.clear();
}

bool SdlAudioDevice::OpenDevice() {
#ifdef __EMSCRIPTEN__
  // SDL's Web Audio driver reads the page's audio context on the calling thread while opening,
  // so the page's thread opens the device.
  if (!emscripten_is_main_runtime_thread()) {
    return emscripten_sync_run_in_main_runtime_thread(
               EM_FUNC_SIG_II, +[](SdlAudioDevice* self) { return self->OpenDevice() ? 1 : 0; },
               this) != 0;
  }
#endif
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = outRate_;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(outChannels_);
  // About 46 ms at 44.1 kHz: short enough for a click to sound with it, long enough that the
  // mixer wakes only some twenty times a second while a game waits with its music playing.
  want.samples = 2048;
  want.callback = &SdlAudioDevice::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) return false;
  driver_ = SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "";
  // The callback's buffers are sized here, so mixing allocates nothing.
  mix_.resize(have.size / 2);
  scratch_.resize(have.size / 2);
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

#ifdef __EMSCRIPTEN__
void SdlAudioDevice::Lock() {
  callbackMutex_.lock();
}
void SdlAudioDevice::Unlock() {
  callbackMutex_.unlock();
}

void SdlAudioDevice::Callback(void* self, uint8_t* stream, int len) {
  auto* device = static_cast<SdlAudioDevice*>(self);
  std::lock_guard lock(device->callbackMutex_);
  device->Mix(stream, len);
}
#else
void SdlAudioDevice::Lock() {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}
void SdlAudioDevice::Unlock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::Callback(void* self, uint8_t* stream, int len) {
  static_cast<SdlAudioDevice*>(self)->Mix(stream, len);
}
#endif

void SdlAudioDevice::Mix(uint8_t* stream, int len) {
  const size_t samples = static_cast<size_t>(len) / 2;
  if (mix_.size() < samples) mix_.resize(samples);
  if (scratch_.size() < samples) scratch_.resize(samples);
  std::fill(mix_.begin(), mix_.begin() + static_cast<long>(samples), 0);
  bool anyFinished = false;

  auto take = [&](SDL_AudioStream* from) {
    const int got = SDL_AudioStreamGet(from, scratch_.data(), len);
    for (int i = 0; i < got / 2; ++i)
      mix_[static_cast<size_t>(i)] += scratch_[static_cast<size_t>(i)];
    return got > 0 ? got : 0;
  };

  for (auto& [handle, output] : outputs_) {
    Output& out = *output;
    // Feed whole buffers until a callback's worth is ready; the last buffer of a run is flushed
    // out of the resampler so its tail plays and it can finish.
    for (auto& pending : out.queued) {
      if (SDL_AudioStreamAvailable(out.stream) >= len) break;
      if (pending.fed) continue;
      if (pending.bytes > 0)
        SDL_AudioStreamPut(out.stream, pending.data, static_cast<int>(pending.bytes));
      pending.fed = true;
      out.flushed = false;
      pending.mark = out.consumed + static_cast<uint64_t>(SDL_AudioStreamAvailable(out.stream));
    }
    const bool allFed = std::all_of(out.queued.begin(), out.queued.end(),
                                    [](const Output::Pending& p) { return p.fed; });
    if (allFed && !out.flushed && SDL_AudioStreamAvailable(out.stream) < len) {
      SDL_AudioStreamFlush(out.stream);
      out.flushed = true;
      if (!out.queued.empty()) {
        out.queued.back().mark =
            out.consumed + static_cast<uint64_t>(SDL_AudioStreamAvailable(out.stream));
      }
    }
    out.consumed += static_cast<uint64_t>(take(out.stream));
    while (!out.queued.empty() && out.queued.front().fed &&
           out.queued.front().mark <= out.consumed) {
      std::lock_guard lock(mutex_);
      finished_.push_back(Finished{handle, out.queued.front().cookie});
      out.queued.pop_front();
      anyFinished = true;
    }
  }
  if (effect_->stream) take(effect_->stream);

  int16_t* out = reinterpret_cast<int16_t*>(stream);
  for (size_t i = 0; i < samples; ++i) {
    out[i] = static_cast<int16_t>(std::clamp(mix_[i], -32768, 32767));
  }
  if (anyFinished) changed_.notify_all();
}

void SdlAudioDevice::RunWorker() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return shutdown_ || !finished_.empty(); });
    if (finished_.empty()) return;  // shutting down with nothing left to report
    Finished next = finished_.front();
    finished_.pop_front();
    delivering_ = next.handle;
    lock.unlock();
    std::shared_ptr<Output> output;
    Lock();
    auto it = outputs_.find(next.handle);
    if (it != outputs_.end()) output = it->second;
    Unlock();
    if (output) output->done(next.handle, next.cookie);
    lock.lock();
    delivering_ = 0;
    changed_.notify_all();
  }
}

AudioHandle SdlAudioDevice::Open(AudioChannel channel, const PcmFormat& format, BufferDone done) {
  if (device_ == 0 || format.rate == 0 || format.channels == 0) return 0;
  SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16LSB, static_cast<Uint8>(format.channels),
                                               static_cast<int>(format.rate), AUDIO_S16SYS,
                                               static_cast<Uint8>(outChannels_), outRate_);
  if (!stream) return 0;
  auto output = std::make_shared<Output>();
  output->channel = channel;
  output->format = format;
  output->done = std::move(done);
  output->stream = stream;
  Lock();
  AudioHandle handle = nextHandle_++;
  outputs_[handle] = std::move(output);
  Unlock();
  return handle;
}

bool SdlAudioDevice::Write(AudioHandle handle, const uint8_t* data, uint32_t bytes,
                           uint32_t cookie) {
  Lock();
  auto it = outputs_.find(handle);
  bool ok = it != outputs_.end();
  if (ok) {
    const uint32_t frame = it->second->format.BytesPerFrame();
    it->second->queued.push_back(Output::Pending{data, bytes / frame * frame, cookie, false, 0});
  }
  Unlock();
  return ok;
}

bool SdlAudioDevice::Reset(AudioHandle handle) {
  for (;;) {
    Lock();
    auto it = outputs_.find(handle);
    if (it == outputs_.end()) {
      Unlock();
      return false;
    }
    Output& out = *it->second;
    const bool empty = out.queued.empty();
    {
      std::lock_guard lock(mutex_);
      for (const auto& pending : out.queued) finished_.push_back(Finished{handle, pending.cookie});
    }
    out.queued.clear();
    SDL_AudioStreamClear(out.stream);
    out.consumed = 0;
    out.flushed = false;
    Unlock();
    changed_.notify_all();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
      return delivering_ != handle &&
             std::none_of(finished_.begin(), finished_.end(),
                          [&](const Finished& f) { return f.handle == handle; });
    });
    // A completion that was under way may have queued once more; that one is taken back too.
    if (empty) return true;
  }
}

bool SdlAudioDevice::Close(AudioHandle handle) {
  std::shared_ptr<Output> output;
  Lock();
  auto it = outputs_.find(handle);
  bool ok = it != outputs_.end() && it->second->queued.empty();
  if (ok) {
    output = it->second;
    outputs_.erase(it);
  }
  Unlock();
  return ok;
}

void SdlAudioDevice::PlayEffect(PcmClip clip) {
  if (device_ == 0 || clip.format.rate == 0 || clip.format.channels == 0) return;
  SDL_AudioStream* stream = SDL_NewAudioStream(
      AUDIO_S16SYS, static_cast<Uint8>(clip.format.channels), static_cast<int>(clip.format.rate),
      AUDIO_S16SYS, static_cast<Uint8>(outChannels_), outRate_);
  if (!stream) return;
  SDL_AudioStreamPut(stream, clip.samples.data(), static_cast<int>(clip.samples.size() * 2));
  SDL_AudioStreamFlush(stream);
  Lock();
  std::swap(effect_->stream, stream);  // a new effect cuts the one playing
  Unlock();
  if (stream) SDL_FreeAudioStream(stream);
}

void SdlAudioDevice::StopEffect() {
  SDL_AudioStream* old = nullptr;
  Lock();
  std::swap(effect_->stream, old);
  Unlock();
  if (old) SDL_FreeAudioStream(old);
}

}  // namespace qv::platform::sdl
