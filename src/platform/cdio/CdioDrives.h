// The machine's optical drives through libcdio.
#pragma once

#include "platform/OpticalDrives.h"

namespace qv::platform::cdio {

// Lists the system's CD drives. Open also takes a disc image (a .cue sheet with its data, a .toc
// or .nrg file) by its path, which lets a drive-less machine check what a disc would answer.
class CdioDrives final : public OpticalDrives {
 public:
  std::vector<std::string> List() override;
  std::unique_ptr<OpticalDisc> Open(const std::string& drive) override;
};

}  // namespace qv::platform::cdio
