// Sound output: wave-out style streams for the two players, and one-at-a-time sound effects.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace qv::platform {

// Every stream and clip is 16-bit signed little-endian PCM, channels interleaved.
struct PcmFormat {
  uint32_t rate = 0;
  uint16_t channels = 0;
  uint32_t BytesPerFrame() const { return channels * 2u; }
};

// Which player a stream belongs to; backends that record output keep them apart.
enum class AudioChannel { Music, Voice };

// A stream handle; 0 is never a valid one. Handles are not reused within a run, so a notice that
// names a closed stream can never be taken for a later one.
using AudioHandle = uint32_t;

// Called once for each finished buffer, in the order the buffers were written, on the device's
// worker thread (never inside a real device's callback). `cookie` is the value given to Write.
using BufferDone = std::function<void(AudioHandle handle, uint32_t cookie)>;

// A decoded sound effect.
struct PcmClip {
  PcmFormat format;
  std::vector<int16_t> samples;  // interleaved frames
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Opens a stream of `format` on `channel`; `done` is called for each finished buffer. Returns
  // 0 when the device cannot take it. Window thread.
  virtual AudioHandle Open(AudioChannel channel, const PcmFormat& format, BufferDone done) = 0;

  // Queues `bytes` bytes at `data` (a whole number of frames; 0 bytes is allowed and finishes as
  // soon as its turn comes). The memory must stay untouched until the buffer is reported
  // finished. Window thread or, for a refill, inside `done`. False when the stream is not open.
  virtual bool Write(AudioHandle handle, const uint8_t* data, uint32_t bytes, uint32_t cookie) = 0;

  // Ends playback: every queued buffer finishes at once. Returns after all their `done` calls
  // have returned, including any that was under way, and when no buffer is queued any more, so
  // the caller may then reuse or free the memory. Window thread (never inside `done`).
  virtual bool Reset(AudioHandle handle) = 0;

  // Releases a stream that has nothing queued (Reset first). Window thread.
  virtual bool Close(AudioHandle handle) = 0;

  // Plays a sound effect, cutting the one playing. Any thread.
  virtual void PlayEffect(PcmClip clip) = 0;
  // Silences the effect playing, if any. Any thread.
  virtual void StopEffect() = 0;
};

}  // namespace qv::platform
