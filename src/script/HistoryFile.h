// The text history kept beside each saved game (saveNN.bkl), so a load brings its backlog back.
#pragma once

#include "script/Engine.h"

namespace qv::script {

// After slot `slot` was written: the history beside it, replaced atomically. A failure costs the
// saved game nothing and is only logged.
void WriteHistoryFile(script::Engine& engine, int slot);

// After slot `slot` was loaded and its page replayed: the history read beside it replaces the
// replayed page. A missing file leaves that page; a damaged or foreign one is reported on stderr
// and in the log and left alone.
void ReadHistoryFile(script::Engine& engine, int slot);

}  // namespace qv::script
