// Skip mode (see AdvanceMode.h).
#include "core/AdvanceMode.h"

namespace qv::core {

void SetSkipMode(InputState& input, EnvSettings& env, InterpreterGate& gate, bool on) {
  input.skipHeld = false;
  if (on) {
    input.savedMessageSpeed = env.messageSpeed.load();
    env.messageSpeed = 0;
    input.advanceMode = AdvanceMode::Skip;
    gate.Resume();
  } else {
    input.advanceMode = AdvanceMode::Normal;
    env.messageSpeed = input.savedMessageSpeed.load();
  }
}

}  // namespace qv::core
