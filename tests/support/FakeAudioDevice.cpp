// The scripted audio device (see FakeAudioDevice.h).
#include "support/FakeAudioDevice.h"

#include <cstring>

namespace qv::test {

platform::AudioHandle FakeAudioDevice::Open(platform::AudioChannel channel,
                                            const platform::PcmFormat& format,
                                            platform::BufferDone done) {
  if (failOpen) return 0;
  platform::AudioHandle handle = next_++;
  streams[handle] = Stream{channel, format, std::move(done), {}, true};
  return handle;
}

bool FakeAudioDevice::Write(platform::AudioHandle handle, const uint8_t* data, uint32_t bytes,
                            uint32_t cookie) {
  auto it = streams.find(handle);
  if (it == streams.end() || !it->second.open) return false;
  if (failWriteAfter == 0) return false;
  if (failWriteAfter > 0) --failWriteAfter;
  Written written{handle, cookie, std::vector<int16_t>(bytes / 2)};
  if (bytes >= 2) std::memcpy(written.samples.data(), data, bytes / 2 * 2);
  writes.push_back(std::move(written));
  it->second.queued.push_back(cookie);
  return true;
}

bool FakeAudioDevice::FinishNext(platform::AudioHandle handle) {
  auto it = streams.find(handle);
  if (it == streams.end() || it->second.queued.empty()) return false;
  uint32_t cookie = it->second.queued.front();
  it->second.queued.pop_front();
  // Copied: the completion may close and erase the stream.
  platform::BufferDone done = it->second.done;
  done(handle, cookie);
  return true;
}

int FakeAudioDevice::FinishAll(platform::AudioHandle handle, int limit) {
  int finished = 0;
  while (finished < limit && FinishNext(handle)) ++finished;
  return finished;
}

bool FakeAudioDevice::Reset(platform::AudioHandle handle) {
  ++resets;
  auto it = streams.find(handle);
  if (it == streams.end()) return false;
  // Completions of a reset may queue again (a refill under way); those finish too.
  while (FinishNext(handle)) {
  }
  return true;
}

bool FakeAudioDevice::Close(platform::AudioHandle handle) {
  auto it = streams.find(handle);
  if (it == streams.end() || !it->second.queued.empty()) return false;
  it->second.open = false;
  return true;
}

size_t FakeAudioDevice::Queued(platform::AudioHandle handle) const {
  auto it = streams.find(handle);
  return it == streams.end() ? 0 : it->second.queued.size();
}

std::vector<int16_t> FakeAudioDevice::Played(platform::AudioHandle handle) const {
  std::vector<int16_t> all;
  for (const Written& w : writes) {
    if (w.handle == handle) all.insert(all.end(), w.samples.begin(), w.samples.end());
  }
  return all;
}

}  // namespace qv::test
