// The Engine's construction and the script snapshot (see Engine.h).
#include "core/Engine.h"

namespace qv::core {

Engine::Engine(platform::Platform& services) : platform(services), gate(services.clock) {
  gate.SetHaltObserver([this](HaltReason reason) {
    if (platform.log.Enabled()) Log(std::string("halt ") + HaltReasonName(reason));
  });
}

Engine::~Engine() {
  // Normally the window's close joined the interpreter already; this covers start-up failures
  // and tests that drop an engine mid-run.
  if (interpreterThread.joinable()) {
    platform.clock.requestStop();
    interpreterThread.join();
  }
}

std::shared_ptr<const ScriptText> Engine::Script() const {
  std::lock_guard lock(scriptMutex_);
  return script_;
}

void Engine::SetScript(std::shared_ptr<const ScriptText> script) {
  std::lock_guard lock(scriptMutex_);
  script_ = std::move(script);
}

}  // namespace qv::core
