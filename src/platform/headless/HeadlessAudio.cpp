// The headless audio device (see HeadlessAudio.h).
#include "platform/headless/HeadlessAudio.h"

#include <algorithm>

namespace qv::platform::headless {

namespace {
uint64_t FramesToMs(uint64_t frames, uint32_t rate) {
  return (frames * 1000 + rate - 1) / rate;  // a partly played millisecond counts as played
}
}  // namespace

HeadlessAudio::HeadlessAudio(VirtualClock& clock, const std::string& outDir)
    : clock_(clock),
      music_(outDir + "/music.wav"),
      voice_(outDir + "/voice.wav"),
      se_(outDir + "/se.wav") {
  clock_.AddParticipant();
  worker_ = std::thread([this] { RunWorker(); });
}

HeadlessAudio::~HeadlessAudio() {
  clock_.update([this] { shutdown_ = true; });
  clock_.await([this] { return workerDone_; }, std::nullopt);
  worker_.join();
  std::lock_guard lock(effectMutex_);
  EndEffect(clock_.nowMs());
}

uint64_t HeadlessAudio::FrontFinish(const Stream& stream) const {
  const uint32_t frames = stream.queued.front().bytes / stream.format.BytesPerFrame();
  return stream.runStartMs + FramesToMs(stream.runFrames + frames, stream.format.rate);
}

std::optional<uint64_t> HeadlessAudio::NextFinish() const {
  std::optional<uint64_t> next;
  for (const auto& [handle, stream] : streams_) {
    if (stream.queued.empty()) continue;
    uint64_t at = FrontFinish(stream);
    if (!next || at < *next) next = at;
  }
  return next;
}

void HeadlessAudio::Record(const Stream& stream, const uint8_t* data, uint32_t bytes) {
  std::vector<int16_t> samples(bytes / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  (stream.channel == AudioChannel::Music ? music_ : voice_).Append(stream.format, samples);
}

void HeadlessAudio::FinishDue(uint64_t now) {
  for (auto& [handle, stream] : streams_) {
    while (!stream.queued.empty() && FrontFinish(stream) <= now) {
      const Buffer buffer = stream.queued.front();
      stream.queued.pop_front();
      Record(stream, buffer.data, buffer.bytes);
      stream.runFrames += buffer.bytes / stream.format.BytesPerFrame();
      stream.finished.push_back(buffer.cookie);
    }
    if (stream.queued.empty()) stream.running = false;
  }
}

bool HeadlessAudio::Undelivered(const Stream& stream) const {
  return !stream.finished.empty() || stream.delivering;
}

void HeadlessAudio::RunWorker() {
  uint64_t seen = 0;
  for (;;) {
    std::optional<uint64_t> deadline;
    bool stop = false;
    clock_.update([&] {
      deadline = NextFinish();
      seen = generation_;
    });
    clock_.await(
        [&] {
          if (shutdown_ || generation_ != seen) return true;
          return std::any_of(streams_.begin(), streams_.end(),
                             [](const auto& s) { return !s.second.finished.empty(); });
        },
        deadline);
    const uint64_t now = clock_.nowMs();
    // Report every finished buffer, one at a time and without the lock: the completion refills
    // and writes again.
    for (;;) {
      AudioHandle handle = 0;
      uint32_t cookie = 0;
      BufferDone done;
      clock_.update([&] {
        stop = shutdown_;
        FinishDue(now);
        for (auto& [h, stream] : streams_) {
          if (stream.finished.empty()) continue;
          handle = h;
          cookie = stream.finished.front();
          stream.finished.pop_front();
          stream.delivering = true;
          done = stream.done;
          break;
        }
      });
      if (handle == 0) break;
      done(handle, cookie);
      clock_.update([&] {
        auto it = streams_.find(handle);
        if (it != streams_.end()) it->second.delivering = false;
        ++generation_;
      });
    }
    if (stop) break;
  }
  clock_.RemoveParticipant();
  clock_.update([this] { workerDone_ = true; });
}

AudioHandle HeadlessAudio::Open(AudioChannel channel, const PcmFormat& format, BufferDone done) {
  if (format.rate == 0 || format.channels == 0) return 0;
  AudioHandle handle = 0;
  clock_.update([&] {
    handle = nextHandle_++;
    Stream stream;
    stream.channel = channel;
    stream.format = format;
    stream.done = std::move(done);
    streams_.emplace(handle, std::move(stream));
  });
  return handle;
}

bool HeadlessAudio::Write(AudioHandle handle, const uint8_t* data, uint32_t bytes,
                          uint32_t cookie) {
  const uint64_t now = clock_.nowMs();
  bool ok = false;
  clock_.update([&] {
    auto it = streams_.find(handle);
    if (it == streams_.end()) return;
    Stream& stream = it->second;
    if (!stream.running) {
      // The queue had run dry (or never started): this buffer starts playing now.
      stream.running = true;
      stream.runStartMs = now;
      stream.runFrames = 0;
    }
    const uint32_t whole = bytes / stream.format.BytesPerFrame() * stream.format.BytesPerFrame();
    stream.queued.push_back(Buffer{data, whole, cookie});
    ++generation_;
    ok = true;
  });
  return ok;
}

bool HeadlessAudio::Reset(AudioHandle handle) {
  const uint64_t now = clock_.nowMs();
  for (;;) {
    bool known = false, idle = false;
    clock_.update([&] {
      auto it = streams_.find(handle);
      if (it == streams_.end()) return;
      known = true;
      Stream& stream = it->second;
      if (!stream.queued.empty() && stream.running) {
        // What of the playing buffer was heard before the reset.
        const Buffer& front = stream.queued.front();
        const uint64_t elapsed = now - stream.runStartMs;
        const uint64_t frames = elapsed * stream.format.rate / 1000;
        const uint64_t played = frames > stream.runFrames ? frames - stream.runFrames : 0;
        const uint32_t bytes = static_cast<uint32_t>(
            std::min<uint64_t>(played * stream.format.BytesPerFrame(), front.bytes));
        Record(stream, front.data, bytes);
      }
      for (const Buffer& buffer : stream.queued) stream.finished.push_back(buffer.cookie);
      stream.queued.clear();
      stream.running = false;
      idle = !Undelivered(stream);
      ++generation_;
    });
    if (!known) return false;
    if (idle) return true;
    // The worker reports them; a completion that was under way may queue once more.
    clock_.await(
        [&] {
          auto it = streams_.find(handle);
          return it == streams_.end() || !Undelivered(it->second);
        },
        std::nullopt);
    bool empty = true;
    clock_.update([&] {
      auto it = streams_.find(handle);
      empty = it == streams_.end() || it->second.queued.empty();
    });
    if (empty) return true;
  }
}

bool HeadlessAudio::Close(AudioHandle handle) {
  bool ok = false;
  clock_.update([&] {
    auto it = streams_.find(handle);
    if (it == streams_.end() || !it->second.queued.empty() || Undelivered(it->second)) return;
    streams_.erase(it);
    ok = true;
  });
  return ok;
}

void HeadlessAudio::EndEffect(uint64_t now) {
  if (!effect_) return;
  const PcmClip& clip = *effect_;
  const uint64_t frames = (now - effectStartMs_) * clip.format.rate / 1000;
  const size_t samples =
      std::min<size_t>(clip.samples.size(), static_cast<size_t>(frames) * clip.format.channels);
  se_.Append(clip.format, std::span<const int16_t>(clip.samples.data(), samples));
  effect_.reset();
}

void HeadlessAudio::PlayEffect(PcmClip clip) {
  const uint64_t now = clock_.nowMs();
  std::lock_guard lock(effectMutex_);
  EndEffect(now);  // a new effect cuts the one playing
  if (clip.format.rate == 0 || clip.format.channels == 0) return;
  effect_ = std::move(clip);
  effectStartMs_ = now;
}

void HeadlessAudio::StopEffect() {
  const uint64_t now = clock_.nowMs();
  std::lock_guard lock(effectMutex_);
  EndEffect(now);
}

}  // namespace qv::platform::headless
