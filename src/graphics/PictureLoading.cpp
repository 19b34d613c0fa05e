// The engine's picture loaders (see PictureLoading.h).
#include "graphics/PictureLoading.h"

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "core/WindowRequests.h"

namespace qv::graphics {

namespace {

std::string MissingPictureText(Presentation& view, const std::string& path) {
  return std::string(texts::kMissingPicture) + "\n　：" + DisplayPath(view, path);
}

// The log names the game's part only, so a run's log does not depend on where the game lies.
std::optional<std::vector<uint8_t>> ReadPictureFile(Presentation& view, const std::string& path) {
  if (view.services.platform.log.Enabled())
    view.services.Log("picture " + view.services.Utf8(view.services.GamePart(path)));
  return view.services.platform.files.ReadAll(path);
}

std::optional<Picture> ReadChecked(Presentation& view, const std::string& path, PictureKind kind) {
  auto file = ReadPictureFile(view, path);
  if (!file) return std::nullopt;
  if (kind == PictureKind::Background) ScrambleBackground(*file);
  std::string why;
  return DecodePicture(*file, kind, view.services.config.width, view.services.config.height, why);
}

// Copies into the destination's own memory when the sizes agree: the other thread may hold a
// pointer into an interface picture, and a replaced buffer would pull it away.
void Store(core::Surface& destination, const core::Surface& source) {
  if (destination.Width() == source.Width() && destination.Height() == source.Height()) {
    std::memcpy(destination.Data(), source.Data(), source.SizeBytes());
  } else {
    destination = source;
  }
}

}  // namespace

std::string DisplayPath(Presentation& view, const std::string& path) {
  // Only the game's part is in the game's code page; the base directory is the host's own text.
  const std::string_view game = view.services.GamePart(path);
  return path.substr(0, path.size() - game.size()) + view.services.Utf8(game);
}

bool LoadBackgroundPixels(Presentation& view, const std::string& fullPath) {
  view.messageWindowShown = 0;
  view.messageWindowActive = 0;
  view.waitCursorOn = 0;
  auto& work = view.workPixels;
  const auto picture = ReadChecked(view, fullPath, PictureKind::Background);
  if (picture) {
    Store(work, picture->pixels);
    return true;
  }
  core::ShowWarning(view.services, MissingPictureText(view, fullPath));
  if (work.Width() == view.services.config.width && work.Height() == view.services.config.height) {
    std::memset(work.Data(), 0, work.SizeBytes());
  } else {
    work.Create(view.services.config.width, view.services.config.height);
  }
  return false;
}

std::optional<Picture> ReadSprite(Presentation& view, const std::string& fullPath,
                                  const std::string& messagePath) {
  auto picture = ReadChecked(view, fullPath, PictureKind::Sprite);
  if (!picture) core::ShowWarning(view.services, MissingPictureText(view, messagePath));
  return picture;
}

const core::Surface* MessageWindowPicture(Presentation& view) {
  if (!view.messageWindowPixels.Empty()) return &view.messageWindowPixels;
  const std::string path = kMessageWindowPicturePath;
  auto picture = ReadChecked(view, path, PictureKind::MessageWindow);
  if (!picture) {
    core::ShowWarning(view.services, DisplayPath(view, path));
    return nullptr;
  }
  view.messageWindowPixels = std::move(picture->pixels);
  return &view.messageWindowPixels;
}

int LoadButtonParts(Presentation& view) {
  const auto picture =
      ReadChecked(view, view.services.baseDirectory + kButtonPartsPath, PictureKind::ButtonParts);
  if (!picture) {
    core::ShowWarning(view.services, texts::kLossParts);
    return 0;
  }
  Store(view.buttonParts, picture->pixels);
  return 1;
}

int LoadWaitCursor(Presentation& view) {
  const std::string path = kWaitCursorPath;
  const auto picture = ReadChecked(view, path, PictureKind::WaitCursor);
  if (!picture) {
    core::ShowWarning(view.services, DisplayPath(view, path));
    return 0;
  }
  auto& frames = view.waitCursorPixels;
  frames.resize(kWaitCursorBytes);
  std::memcpy(frames.data(), picture->pixels.Data(), kWaitCursorBytes);
  return 1;
}

std::optional<Picture> LoadPicture(Presentation& view, const std::string& path, PictureKind kind) {
  auto picture = ReadChecked(view, path, kind);
  if (!picture) core::ShowWarning(view.services, texts::kLossParts);
  return picture;
}

std::optional<Picture> LoadAreaPicture(Presentation& view, const std::string& path) {
  auto picture = ReadChecked(view, path, PictureKind::AreaImage);
  if (!picture) core::ShowWarning(view.services, DisplayPath(view, path));
  return picture;
}

int LoadAreaImage(Presentation& view, const std::string& path) {
  const auto picture = LoadAreaPicture(view, path);
  if (!picture) return 0;
  Store(view.pageSurface, picture->pixels);
  return 1;
}

std::optional<MaskPicture> LoadMask(Presentation& view, const std::string& path) {
  auto file = ReadPictureFile(view, path);
  std::string why;
  auto mask = file ? DecodeMask(*file, why) : std::nullopt;
  if (!mask) core::ShowWarning(view.services, texts::kLossParts);
  return mask;
}

}  // namespace qv::graphics
