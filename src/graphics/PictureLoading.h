// The engine's picture loaders: read a game's picture file, check it for its use, report a bad one.
//
// Every loader logs "picture PATH" (game-relative) for each file it tries, and treats a file that
// is damaged or of the wrong form exactly as a missing one: the same message, the same way out.
// Interpreter thread, except where a caller on the window thread (the restoring of a saved game)
// asks; messages reach the player through the window thread either way.
#pragma once

#include <optional>
#include <string>

#include "graphics/PictureFile.h"
#include "graphics/Presentation.h"

namespace qv::graphics {

namespace texts {
// A background or sprite that cannot be used; a line feed, "　：" and the path follow.
inline constexpr const char* kMissingPicture = "以下の画像ファイルが存在しないか、破損しています";
// An interface part, a LoadPicture picture or a mask that cannot be used.
inline constexpr const char* kLossParts = "loss parts";
}  // namespace texts

// Paths of the interface pictures. The first two are relative to the game folder; the button parts
// follow the base directory.
inline constexpr const char* kMessageWindowPicturePath = "cg\\menu\\bar_a.bmp";
inline constexpr const char* kWaitCursorPath = "cg\\menu\\waitcur.bmp";
inline constexpr const char* kButtonPartsPath = "cg\\menu\\btnprts.bmp";

// `path` (an engine path) as a message shows it: the game's part in UTF-8 after the base directory.
std::string DisplayPath(Presentation& view, const std::string& path);

// The first half of a background change: clears messageWindowShown, messageWindowActive and
// waitCursorOn, reads and unscrambles `fullPath` (base directory included) and copies its W x H
// pixels into workPixels. A file that cannot be used is reported with its full path and leaves
// workPixels black. Returns whether the file was good; the caller composes the scene either way.
bool LoadBackgroundPixels(Presentation& view, const std::string& fullPath);

// A sprite picture (colour half and mask half). A file that cannot be used is reported with
// `messagePath` (the path as the script gave it).
std::optional<Picture> ReadSprite(Presentation& view, const std::string& fullPath,
                                  const std::string& messagePath);

// cg\menu\bar_a.bmp, a masked picture, decoded the first time it is good and kept in
// view.messageWindowPixels; null when it is missing or bad, which is reported by its path each
// time it is asked for.
const core::Surface* MessageWindowPicture(Presentation& view);

// Base directory + cg\menu\btnprts.bmp (1280 x 44) into graphics.buttonParts: 1, or 0 after
// "loss parts" with buttonParts unchanged.
int LoadButtonParts(Presentation& view);

// The first 6144 bytes of cg\menu\waitcur.bmp's pixel rows into graphics.waitCursorPixels: 1, or
// 0 after a message naming the path with the frames unchanged.
int LoadWaitCursor(Presentation& view);

// Any picture checked as `kind`: the picture, or nothing after "loss parts".
std::optional<Picture> LoadPicture(Presentation& view, const std::string& path, PictureKind kind);

// A full-screen picture (exactly W x H, `path` as the script gave it), or nothing after a message
// naming the path.
std::optional<Picture> LoadAreaPicture(Presentation& view, const std::string& path);
// An area selection's highlight picture (`path` as the script gave it, exactly W x H) into
// graphics.pageSurface: 1, or 0 after a message naming the path with pageSurface unchanged.
int LoadAreaImage(Presentation& view, const std::string& path);

// The mask of the mask transition, or nothing after "loss parts".
std::optional<MaskPicture> LoadMask(Presentation& view, const std::string& path);

}  // namespace qv::graphics
