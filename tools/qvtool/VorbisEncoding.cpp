// Ogg Vorbis encoding of synthesized sound (see VorbisEncoding.h).
#include "qvtool/VorbisEncoding.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace qv::tool {

namespace {

// The libvorbis and libogg states of one encoding, released however it ends.
class Encoder {
 public:
  Encoder() {
    vorbis_info_init(&info_);
    vorbis_comment_init(&comment_);
  }
  ~Encoder() {
    if (streamStarted_) ogg_stream_clear(&stream_);
    if (blockStarted_) vorbis_block_clear(&block_);
    if (dspStarted_) vorbis_dsp_clear(&dsp_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  bool Start(const VorbisInput& input, std::string& error) {
    if (vorbis_encode_init_vbr(&info_, input.channels, input.rate, input.quality) != 0) {
      error = "the Vorbis encoder refuses " + std::to_string(input.channels) + " channel(s) at " +
              std::to_string(input.rate) + " Hz";
      return false;
    }
    dspStarted_ = vorbis_analysis_init(&dsp_, &info_) == 0;
    blockStarted_ = dspStarted_ && vorbis_block_init(&dsp_, &block_) == 0;
    streamStarted_ = blockStarted_ && ogg_stream_init(&stream_, input.serialNumber) == 0;
    if (!streamStarted_) {
      error = "the Vorbis encoder cannot start";
      return false;
    }
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp_, &comment_, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream_, &identification);
    ogg_stream_packetin(&stream_, &comments);
    ogg_stream_packetin(&stream_, &codebooks);
    // The headers end a page of their own, so the audio starts on a fresh page as players expect.
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) Append(page);
    return true;
  }

  // Hands `frames` frames to the encoder (none: the end of the stream) and writes what is ready.
  void Feed(const float* interleaved, int frames, int channels) {
    if (frames > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp_, frames);
      for (int frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
          buffer[channel][frame] = interleaved[frame * channels + channel];
        }
      }
    }
    vorbis_analysis_wrote(&dsp_, frames);
    while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
        ogg_stream_packetin(&stream_, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream_, &page) != 0) Append(page);
      }
    }
  }

  std::vector<uint8_t> Finish() {
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) Append(page);
    return std::move(bytes_);
  }

 private:
  void Append(const ogg_page& page) {
    bytes_.insert(bytes_.end(), page.header, page.header + page.header_len);
    bytes_.insert(bytes_.end(), page.body, page.body + page.body_len);
  }

  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
  bool dspStarted_ = false, blockStarted_ = false, streamStarted_ = false;
  std::vector<uint8_t> bytes_;
};

}  // namespace

VorbisOutcome EncodeVorbis(const VorbisInput& input) {
  VorbisOutcome outcome;
  if (input.channels < 1 || input.channels > 2 || input.samples.size() % input.channels != 0) {
    outcome.error = "the sound is not whole frames of one or two channels";
    return outcome;
  }
  Encoder encoder;
  if (!encoder.Start(input, outcome.error)) return outcome;
  constexpr int kChunkFrames = 1024;
  const int totalFrames = static_cast<int>(input.samples.size()) / input.channels;
  for (int frame = 0; frame < totalFrames; frame += kChunkFrames) {
    const int frames = std::min(kChunkFrames, totalFrames - frame);
    encoder.Feed(input.samples.data() + static_cast<size_t>(frame) * input.channels, frames,
                 input.channels);
  }
  encoder.Feed(nullptr, 0, input.channels);
  outcome.bytes = encoder.Finish();
  outcome.succeeded = true;
  return outcome;
}

}  // namespace qv::tool
