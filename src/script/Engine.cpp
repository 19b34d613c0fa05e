// The engine's wiring (see Engine.h).
#include "script/Engine.h"

#include "core/WindowRequests.h"

namespace qv::script {

namespace {
// The players' own failure messages carry this caption instead of the window name.
constexpr const char* kPlayerCaption = "ブレイク";
}  // namespace

Engine::Engine(platform::Platform& platform)
    : services(platform),
      script(platform.clock),
      view(services, input, script.randomState),
      audio(services,
            [this](const std::string& text) {
              core::ShowMessage(services, kPlayerCaption, text, platform::BoxButtons::Ok,
                                platform::BoxIcon::Warning);
            }),
      saveLoad(view, script) {
  script.gate.SetHaltObserver([this](core::HaltReason reason) {
    if (services.platform.log.Enabled()) {
      services.Log(std::string("halt ") + core::HaltReasonName(reason));
    }
    // The player may close or kill the game from here on: what was read so far is kept.
    readMarks.SaveIfChanged(services);
  });
}

Engine::~Engine() {
  // Normally the window's close joined the interpreter already; this covers start-up failures
  // and tests that drop an engine mid-run.
  if (interpreterThread.joinable()) {
    services.platform.clock.requestStop();
    interpreterThread.join();
  }
}

}  // namespace qv::script
