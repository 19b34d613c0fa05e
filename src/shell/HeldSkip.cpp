// Skip mode while Ctrl is held (see HeldSkip.h).
#include "shell/HeldSkip.h"

#include "core/AdvanceMode.h"

namespace qv::shell {

void StartHeldSkip(script::Engine& engine) {
  auto& input = engine.input;
  // A syncstart stretch takes no clicks, so no skip button either.
  if (!engine.services.comforts.enabled || engine.script.syncActive == 1 ||
      input.screenMode != core::ScreenMode::Game || engine.view.messageWindowActive == 0 ||
      engine.view.messageWindowShown == 0 || input.advanceMode == core::AdvanceMode::Skip)
    return;
  core::SetSkipMode(input, engine.services.env, engine.script.gate, true);
  input.skipHeld = true;
  if (engine.services.platform.log.Enabled()) engine.services.Log("skip held");
}

void EndHeldSkip(script::Engine& engine) {
  auto& input = engine.input;
  if (!engine.services.comforts.enabled || !input.skipHeld ||
      input.advanceMode != core::AdvanceMode::Skip)
    return;
  core::SetSkipMode(input, engine.services.env, engine.script.gate, false);
  if (engine.services.platform.log.Enabled()) engine.services.Log("skip released");
}

}  // namespace qv::shell
