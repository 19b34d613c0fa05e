// Print Screen's picture file (see Screenshot.h).
#include "shell/Screenshot.h"

#include <ctime>
#include <vector>

#include "core/SettingsFile.h"
#include "platform/common/PngEncoder.h"

namespace qv::shell {

namespace {

std::string ShotName() {
  const std::time_t now = std::time(nullptr);
  // std::localtime's result is shared, which is safe here: only the window thread takes shots.
  const std::tm* local = std::localtime(&now);
  char name[40];
  if (!local || std::strftime(name, sizeof name, "shot-%Y%m%d-%H%M%S.png", local) == 0) {
    return "shot.png";
  }
  return name;
}

}  // namespace

int SaveScreenshot(script::Engine& engine) {
  auto& services = engine.services;
  const core::Surface& shown = engine.view.screen.Surface();
  bool written = false;
  if (!shown.Empty() && core::EnsureSaveFolder(services, true)) {
    const std::vector<uint8_t> packed = core::PackedRows(shown);
    const std::vector<uint8_t> png =
        platform::EncodePng(packed.data(), shown.Width(), shown.Height());
    written = services.platform.files.ReplaceAtomically(
        core::SaveFolderPath(services) + "\\" + ShotName(), png);
  }
  if (services.platform.log.Enabled())
    services.Log(written ? "screenshot written" : "screenshot failed");
  return written ? 1 : 0;
}

}  // namespace qv::shell
