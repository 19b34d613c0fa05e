// The save and load screens: full-screen overlays of the twelve slots over the game, in a normal
// look (sceneSurface) and a highlighted look (pageSurface), and the game given back on leaving.
// Window thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/InputState.h"
#include "core/Surface.h"
#include "screens/SaveLoadScreenState.h"

namespace qv::screens {

// The menu pictures of the two screens, game-relative: each screen's normal and highlighted look.
inline constexpr const char* kSaveMenuPicturePaths[2] = {"cg\\menu\\save_off.bmp",
                                                         "cg\\menu\\save_on.bmp"};
inline constexpr const char* kLoadMenuPicturePaths[2] = {"cg\\menu\\load_off.bmp",
                                                         "cg\\menu\\load_on.bmp"};

// A menu picture file's pixels for a `frameWidth` x `frameHeight` frame: read as exactly two
// frames side by side, since any other size would be misread row by row. Nothing, with the reason
// in `why`, when it cannot be used.
std::optional<core::Surface> DecodeMenuPicture(std::span<const uint8_t> file, int frameWidth,
                                               int frameHeight, std::string& why);

// A menu picture (base directory + `path`): a masked picture of twice the frame's width and the
// frame's height. Nothing, after a box naming the path, when it cannot be used.
std::optional<core::Surface> LoadMenuPicture(SaveLoadScreenState& screen, const std::string& path);

// Keeps the game's pictures, builds both looks over the game screen, writes the slots and fades
// to the normal look (two frames). 1, or 0 after a picture could not be read: the game's
// pictures are then given back as they were and nothing is kept.
int OpenSaveLoadScreen(SaveLoadScreenState& screen, core::ScreenMode mode);
// Rebuilds both looks over the kept game screen after a save; the screen shown is not touched.
int RedrawSaveLoadScreen(SaveLoadScreenState& screen, core::ScreenMode mode);
// Gives the game's pictures back, shows the game screen and returns to the previous mode.
int CloseSaveLoadScreen(SaveLoadScreenState& screen);
// Lets go of the kept pictures (after a load, a return to the title, at shutdown).
void FreeSaveLoadBackups(SaveLoadScreenState& screen);

}  // namespace qv::screens
