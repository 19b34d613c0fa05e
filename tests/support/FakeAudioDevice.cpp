// The scripted audio device (see FakeAudioDevice.h).
#include "support/FakeAudioDevice.h"

namespace qv::test {

platform::AudioHandle FakeAudioDevice::Open(platform::AudioChannel, const platform::PcmFormat&,
                                            platform::BufferDone done) {
  if (failOpen) return 0;
  platform::AudioHandle handle = next_++;
  streams[handle] = Stream{std::move(done), {}, true};
  return handle;
}

bool FakeAudioDevice::Write(platform::AudioHandle handle, const uint8_t* data, uint32_t bytes,
                            uint32_t cookie) {
  auto it = streams.find(handle);
  if (it == streams.end() || !it->second.open) return false;
  if (failWriteAfter == 0) return false;
  if (failWriteAfter > 0) --failWriteAfter;
  lastBuffer.assign(data, data + bytes);
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

}  // namespace qv::test
