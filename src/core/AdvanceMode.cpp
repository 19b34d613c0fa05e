// Skip mode (see AdvanceMode.h).
#include "core/AdvanceMode.h"

namespace qv::core {

void SetSkipMode(Engine& engine, bool on) {
  if (on) {
    engine.savedMessageSpeed = engine.env.messageSpeed.load();
    engine.env.messageSpeed = 0;
    engine.advanceMode = 1;
    engine.gate.Resume();
  } else {
    engine.advanceMode = 0;
    engine.env.messageSpeed = engine.savedMessageSpeed.load();
  }
}

}  // namespace qv::core
