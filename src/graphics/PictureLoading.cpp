// The engine's picture loaders (see PictureLoading.h).
#include "graphics/PictureLoading.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "core/WindowRequests.h"

namespace qv::graphics {

namespace {

std::string MissingPictureText(script::Engine& engine, const std::string& path) {
  return std::string(texts::kMissingPicture) + "\n　：" + DisplayPath(engine, path);
}

// The log names the game's part only, so a run's log does not depend on where the game lies.
std::optional<std::vector<uint8_t>> ReadPictureFile(script::Engine& engine,
                                                    const std::string& path) {
  if (engine.services.platform.log.Enabled())
    engine.services.Log("picture " + engine.services.Utf8(engine.services.GamePart(path)));
  return engine.services.platform.files.ReadAll(path);
}

std::optional<Picture> ReadChecked(script::Engine& engine, const std::string& path,
                                   PictureKind kind) {
  auto file = ReadPictureFile(engine, path);
  if (!file) return std::nullopt;
  if (kind == PictureKind::Background) ScrambleBackground(*file);
  std::string why;
  return DecodePicture(*file, kind, engine.services.config.width, engine.services.config.height,
                       why);
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

std::string DisplayPath(script::Engine& engine, const std::string& path) {
  // Only the game's part is in the game's code page; the base directory is the host's own text.
  const std::string_view game = engine.services.GamePart(path);
  return path.substr(0, path.size() - game.size()) + engine.services.Utf8(game);
}

bool LoadBackgroundPixels(script::Engine& engine, const std::string& fullPath) {
  engine.view.messageWindowShown = 0;
  engine.view.messageWindowActive = 0;
  engine.view.waitCursorOn = 0;
  auto& work = engine.view.workPixels;
  const auto picture = ReadChecked(engine, fullPath, PictureKind::Background);
  if (picture) {
    Store(work, picture->pixels);
    return true;
  }
  core::ShowWarning(engine.services, MissingPictureText(engine, fullPath));
  if (work.Width() == engine.services.config.width &&
      work.Height() == engine.services.config.height) {
    std::memset(work.Data(), 0, work.SizeBytes());
  } else {
    work.Create(engine.services.config.width, engine.services.config.height);
  }
  return false;
}

std::optional<Picture> ReadSprite(script::Engine& engine, const std::string& fullPath,
                                  const std::string& messagePath) {
  auto picture = ReadChecked(engine, fullPath, PictureKind::Sprite);
  if (!picture) core::ShowWarning(engine.services, MissingPictureText(engine, messagePath));
  return picture;
}

std::optional<Picture> ReadMessageWindowPicture(script::Engine& engine) {
  const std::string path = kMessageWindowPicturePath;
  auto picture = ReadChecked(engine, path, PictureKind::MessageWindow);
  if (!picture) core::ShowWarning(engine.services, DisplayPath(engine, path));
  return picture;
}

int LoadButtonParts(script::Engine& engine) {
  const auto picture = ReadChecked(engine, engine.services.baseDirectory + kButtonPartsPath,
                                   PictureKind::ButtonParts);
  if (!picture) {
    core::ShowWarning(engine.services, texts::kLossParts);
    return 0;
  }
  Store(engine.view.buttonParts, picture->pixels);
  return 1;
}

int LoadWaitCursor(script::Engine& engine) {
  const std::string path = kWaitCursorPath;
  const auto picture = ReadChecked(engine, path, PictureKind::WaitCursor);
  if (!picture) {
    core::ShowWarning(engine.services, DisplayPath(engine, path));
    return 0;
  }
  auto& frames = engine.view.waitCursorPixels;
  frames.resize(kWaitCursorBytes);
  std::memcpy(frames.data(), picture->pixels.Data(), kWaitCursorBytes);
  return 1;
}

std::optional<Picture> LoadPicture(script::Engine& engine, const std::string& path,
                                   PictureKind kind) {
  auto picture = ReadChecked(engine, path, kind);
  if (!picture) core::ShowWarning(engine.services, texts::kLossParts);
  return picture;
}

std::optional<Picture> LoadAreaPicture(script::Engine& engine, const std::string& path) {
  auto picture = ReadChecked(engine, path, PictureKind::AreaImage);
  if (!picture) core::ShowWarning(engine.services, DisplayPath(engine, path));
  return picture;
}

int LoadAreaImage(script::Engine& engine, const std::string& path) {
  const auto picture = LoadAreaPicture(engine, path);
  if (!picture) return 0;
  Store(engine.view.pageSurface, picture->pixels);
  return 1;
}

std::optional<MaskPicture> LoadMask(script::Engine& engine) {
  const std::string path = engine.script.maskFileName;
  auto file = ReadPictureFile(engine, path);
  std::string why;
  auto mask = file ? DecodeMask(*file, why) : std::nullopt;
  if (!mask) core::ShowWarning(engine.services, texts::kLossParts);
  return mask;
}

}  // namespace qv::graphics
