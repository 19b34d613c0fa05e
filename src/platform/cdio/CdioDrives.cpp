// The machine's optical drives through libcdio (see CdioDrives.h).
#include "platform/cdio/CdioDrives.h"

#include <cdio/cdio.h>

#include <filesystem>

namespace qv::platform::cdio {

namespace {

class CdioDisc final : public OpticalDisc {
 public:
  explicit CdioDisc(CdIo_t* device) : device_(device) {}
  ~CdioDisc() override { cdio_destroy(device_); }
  CdioDisc(const CdioDisc&) = delete;
  CdioDisc& operator=(const CdioDisc&) = delete;

  bool IsAudioTrack(int track) override {
    // Discs may number their tracks from other than 1; a drive without a disc answers no count.
    const track_t first = cdio_get_first_track_num(device_);
    const track_t count = cdio_get_num_tracks(device_);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK) return false;
    if (track < first || track >= first + count) return false;
    return cdio_get_track_format(device_, static_cast<track_t>(track)) == TRACK_FORMAT_AUDIO;
  }

 private:
  CdIo_t* device_;
};

}  // namespace

std::vector<std::string> CdioDrives::List() {
  std::vector<std::string> names;
  // A machine without drives answers no list at all rather than an empty one.
  char** devices = cdio_get_devices(DRIVER_DEVICE);
  if (devices == nullptr) return names;
  for (char** device = devices; *device != nullptr; ++device) names.emplace_back(*device);
  cdio_free_device_list(devices);
  return names;
}

std::unique_ptr<OpticalDisc> CdioDrives::Open(const std::string& drive) {
  if (drive.empty()) return nullptr;  // libcdio would pick a default drive of its own
  // libcdio reports a missing path on stderr from each of its drivers in turn.
  std::error_code error;
  if (!std::filesystem::exists(drive, error)) return nullptr;
  CdIo_t* device = cdio_open(drive.c_str(), DRIVER_UNKNOWN);
  if (device == nullptr) return nullptr;
  return std::make_unique<CdioDisc>(device);
}

}  // namespace qv::platform::cdio
