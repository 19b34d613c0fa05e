// The Ogg Vorbis streaming player (see OggStreamPlayer.h).
#include "audio/OggStreamPlayer.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

#include "platform/Message.h"

namespace qv::audio {

namespace {
constexpr const char* kDeviceOpenFailed = "初期化失敗";
constexpr const char* kSubmitFailed = "諸般の事情によりフリップ失敗";
constexpr const char* kCloseFailed = "終了処理失敗";
}  // namespace

struct OggStreamPlayer::Decoder {
  OggVorbis_File file{};
  bool open = false;
};

OggStreamPlayer::OggStreamPlayer(platform::AudioDevice& device, platform::Files& files,
                                 platform::AudioChannel channel, Warn warn,
                                 std::atomic<int32_t>* clearWhenStopped)
    : device_(device),
      files_(files),
      channel_(channel),
      warn_(std::move(warn)),
      clearWhenStopped_(clearWhenStopped),
      decoder_(std::make_unique<Decoder>()) {}

OggStreamPlayer::~OggStreamPlayer() {
  Stop();
  if (handle_ != 0) {
    if (!device_.Close(handle_) && warn_) warn_(kCloseFailed);
    handle_ = 0;
  }
  ClearDecoder();
}

void OggStreamPlayer::ClearDecoder() {
  if (!decoder_->open) return;
  ov_clear(&decoder_->file);  // closes the stdio stream as well
  decoder_->open = false;
}

bool OggStreamPlayer::Submit(int index) {
  const uint8_t* data = reinterpret_cast<const uint8_t*>(Buffer(index));
  return device_.Write(handle_, data, lengths_[index], static_cast<uint32_t>(index));
}

int OggStreamPlayer::Play(platform::Window& notify) {
  // A stream still open would have its queued buffers overwritten below.
  if (handle_ != 0 && !Stop()) return 0;
  fillIndex_ = 0;
  playIndex_ = 0;
  ended_ = 0;
  stopping_ = false;
  notify_ = &notify;

  std::optional<std::string> hostPath = files_.Resolve(filePath);
  if (!hostPath) return 0;
  std::FILE* file = std::fopen(hostPath->c_str(), "rb");
  if (!file) return 0;
  if (ov_open(file, &decoder_->file, nullptr, 0) != 0) {
    std::fclose(file);  // a failed open leaves the stream to its caller
    return 0;
  }
  decoder_->open = true;
  const vorbis_info* info = ov_info(&decoder_->file, -1);
  if (!info || info->channels < 1 || info->rate < 1) {
    ClearDecoder();
    return 0;
  }
  platform::PcmFormat format;
  format.rate = static_cast<uint32_t>(info->rate);
  format.channels = static_cast<uint16_t>(info->channels);

  handle_ =
      device_.Open(channel_, format, [this](platform::AudioHandle, uint32_t) { OnCompletion(); });
  if (handle_ == 0) {
    if (warn_) warn_(kDeviceOpenFailed);
    ClearDecoder();
    return 0;
  }
  atLoopStart_ = true;
  for (int i = 0; i < kBufferCount; ++i) {
    markers_[i] = kMarkerOrdinary;
    lengths_[i] = 0;
    FillBuffer(i);
  }
  playing_ = 1;
  // The reserve index is in place before the device can report the first buffer.
  playIndex_ = 2;
  if (!Submit(0) || !Submit(1)) {
    stopping_ = true;
    device_.Reset(handle_);
    device_.Close(handle_);
    handle_ = 0;
    ClearDecoder();
    playing_ = 0;
    stopping_ = false;
    return 0;
  }
  return 1;
}

void OggStreamPlayer::ScaleSamples(int16_t* samples, uint32_t count) const {
  const int32_t percent = volume;
  if (percent == 100) return;
  const double factor = percent * 0.01;
  for (uint32_t i = 0; i < count; ++i) {
    // The cast truncates toward zero: -3 at 50 % becomes -1.
    samples[i] = static_cast<int16_t>(factor * samples[i]);
  }
}

uint32_t OggStreamPlayer::FillBuffer(int index) {
  int16_t* buffer = &pcm_[index * kBufferSamples];
  uint32_t total = 0;
  while (total < kBufferBytes) {
    int section = 0;
    long got = ov_read(&decoder_->file, reinterpret_cast<char*>(buffer) + total,
                       static_cast<int>(kBufferBytes - total), 0, 2, 1, &section);
    if (got > 0) {
      ScaleSamples(buffer + total / 2, static_cast<uint32_t>(got) / 2);
      total += static_cast<uint32_t>(got) & ~1u;
      atLoopStart_ = false;
      continue;
    }
    // The end of the stream, or a decoding error, which ends it the same way. A loop that
    // yields no sample at all (an empty or broken stream) ends as well instead of queueing
    // empty buffers for ever.
    if (playOnce == 1 || atLoopStart_ || ov_pcm_seek(&decoder_->file, 0) != 0) {
      markers_[index] = kMarkerLast;
    } else {
      atLoopStart_ = true;
    }
    break;
  }
  lengths_[index] = total;
  return total;
}

void OggStreamPlayer::OnCompletion() {
  if (stopping_ || markers_[playIndex_] == kMarkerFinished) {
    if (clearWhenStopped_) *clearWhenStopped_ = 0;
    return;
  }
  OnBufferDone();
}

int OggStreamPlayer::OnBufferDone() {
  const int play = playIndex_;
  if (ended_ == 1) {
    if (++markers_[play] >= kMarkerFinished && notify_) {
      platform::Message done;
      done.id = platform::MSG_STREAM_DONE;
      done.wParam = handle_;
      notify_->Post(done);
    }
    return 1;
  }
  if (!Submit(play)) {
    if (!stopping_ && warn_) warn_(kSubmitFailed);
    return 0;
  }
  if (markers_[play] == kMarkerLast) {
    ended_ = 1;
    return 1;
  }
  playIndex_ = (play + 1) % kBufferCount;
  const int fill = fillIndex_;
  FillBuffer(fill);
  fillIndex_ = (fill + 1) % kBufferCount;
  return 1;
}

int OggStreamPlayer::Stop() {
  if (handle_ == 0) return 1;
  stopping_ = true;
  markers_[playIndex_] = kMarkerFinished;
  if (!device_.Reset(handle_)) return 0;
  if (!device_.Close(handle_)) return 0;
  handle_ = 0;
  ClearDecoder();
  ended_ = 0;
  playing_ = 0;
  stopping_ = false;
  return 1;
}

}  // namespace qv::audio
