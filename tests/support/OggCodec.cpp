// Ogg Vorbis for tests (see OggCodec.h).
#include "support/OggCodec.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace qv::test {

std::string EncodeOgg(const std::vector<int16_t>& samples, int rate, int channels) {
  std::string out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  ogg_page page;
  ogg_packet packet;
  auto writePage = [&] {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  };

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  while (ogg_stream_flush(&stream, &page) != 0) writePage();

  const size_t frames = samples.size() / static_cast<size_t>(channels);
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    const size_t chunk = std::min<size_t>(1024, frames - done);
    if (chunk == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
      for (size_t f = 0; f < chunk; ++f) {
        for (int c = 0; c < channels; ++c) {
          buffer[c][f] =
              samples[(done + f) * static_cast<size_t>(channels) + static_cast<size_t>(c)] /
              32768.0f;
        }
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
      done += chunk;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          writePage();
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (chunk == 0) {
      while (ogg_stream_flush(&stream, &page) != 0) writePage();
      eos = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<int16_t> Tone(int frames, int rate, int channels, double hz) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  for (int f = 0; f < frames; ++f) {
    const double v = std::sin(2 * std::numbers::pi * hz * f / rate) * 16000.0;
    for (int c = 0; c < channels; ++c) {
      samples[static_cast<size_t>(f) * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
          static_cast<int16_t>(v);
    }
  }
  return samples;
}

DecodedOgg DecodeOgg(const std::string& bytes) {
  DecodedOgg decoded;
  // The library closes the stream with the file, or leaves it to the caller when opening fails.
  FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  OggVorbis_File file;
  if (!stream) return decoded;
  if (ov_open(stream, &file, nullptr, 0) != 0) {
    std::fclose(stream);
    return decoded;
  }
  const vorbis_info* info = ov_info(&file, -1);
  decoded.rate = static_cast<int>(info->rate);
  decoded.channels = info->channels;
  char buffer[8192];
  int section = 0;
  for (;;) {
    long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    if (got <= 0) break;
    const size_t old = decoded.samples.size();
    decoded.samples.resize(old + static_cast<size_t>(got) / 2);
    std::memcpy(decoded.samples.data() + old, buffer, static_cast<size_t>(got) / 2 * 2);
  }
  ov_clear(&file);
  return decoded;
}

std::vector<int16_t> AtVolume(const std::vector<int16_t>& samples, int volume) {
  std::vector<int16_t> out(samples.size());
  const double factor = volume * 0.01;
  for (size_t i = 0; i < samples.size(); ++i) out[i] = static_cast<int16_t>(factor * samples[i]);
  return out;
}

}  // namespace qv::test
