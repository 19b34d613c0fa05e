// Composed game paths (see GamePath.h).
#include "core/GamePath.h"

namespace qv::core {

std::optional<std::string> ComposeGamePath(Services& services, std::string_view relative) {
  std::string path = services.baseDirectory;
  path += relative;
  if (path.size() > kMaxPathBytes) {
    if (services.platform.log.Enabled()) {
      services.Log("path too long (" + std::to_string(path.size()) + " bytes) " +
                   services.Utf8(services.GamePart(path).substr(0, 64)) + "...");
    }
    return std::nullopt;
  }
  return path;
}

}  // namespace qv::core
