// The window's icon (see WindowIcon.h).
#include "shell/WindowIcon.h"

#include <string>
#include <vector>

#include "graphics/PictureFile.h"
#include "resources/EngineIcon.h"

namespace qv::shell {

namespace {

constexpr int kMaxIconSide = 256;

}  // namespace

void SetWindowIcon(script::Engine& engine) {
  auto& window = engine.services.platform.window;
  const std::string path = engine.services.baseDirectory + "icon.bmp";
  if (auto file = engine.services.platform.files.ReadAll(path)) {
    std::string why;
    const auto icon = graphics::DecodePicture(*file, graphics::PictureKind::Plain, 0, 0, why);
    if (icon && icon->Width() <= kMaxIconSide && icon->Height() <= kMaxIconSide) {
      const std::vector<uint8_t> packed = core::PackedRows(icon->pixels);
      window.SetIcon(packed.data(), icon->Width(), icon->Height());
      return;
    }
    if (engine.services.platform.log.Enabled()) engine.services.Log("icon unusable " + why);
  }
  const std::vector<uint8_t> own = resources::EngineIcon();
  window.SetIcon(own.data(), resources::kEngineIconSize, resources::kEngineIconSize);
}

}  // namespace qv::shell
