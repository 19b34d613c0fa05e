// Whether a folder looks like a game at all, before an engine is started on it.
#pragma once

#include <string>

namespace qv::app {

// True when `dir` holds a scenario (*.qv) or an instance file (*.ist), the extension in any case.
bool HoldsGame(const std::string& dir);

// What qvplay says when it was given no game folder and the current one holds no game.
inline constexpr const char* kNoGameText =
    "qvplay: no game here. A game folder holds its instance file (*.ist), its script (*.qv) and\n"
    "its pictures and sounds; name it: qvplay GAME_DIR (see qvplay --help).\n"
    "To try the sample game: qvtool make-sample DIR, then qvplay DIR.\n";

}  // namespace qv::app
