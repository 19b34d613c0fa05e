// Window versus full screen (see DisplayMode.h).
#include "shell/DisplayMode.h"

namespace qv::shell {

int SetDisplayMode(script::Engine& engine, int32_t wantWindowed) {
  const auto want = static_cast<uint8_t>(wantWindowed);
  if (want == static_cast<uint8_t>(engine.services.env.windowed.load())) return 0;
  const bool toWindow = want != 0;
  engine.services.env.windowed = toWindow ? 1 : 0;
  engine.services.platform.display.SetFullScreen(!toWindow);
  return 1;
}

void ApplyStoredDisplayMode(script::Engine& engine) {
  // SetDisplayMode acts only on a change, so the flag is turned over first.
  if (engine.services.env.windowed == 1) {
    engine.services.env.windowed = 0;
    SetDisplayMode(engine, 1);
  } else {
    engine.services.env.windowed = 1;
    SetDisplayMode(engine, 0);
  }
}

}  // namespace qv::shell
